#include "app/startup_project.h"

#include "base/memory_stream.h"
#include "base/text.h"
#include "ini/ini_sections.h"
#include "model/kiv_dialog.h"

namespace kiv {

namespace {

void CopySection(const TIniStorage& source, std::u16string_view from, TIniStorage& target, std::u16string_view to) {
  if (const TIniSection* section = source.FindSection(from)) target.FindOrAddSection(to)->Assign(*section);
}

std::u16string BoolText(bool value) { return value ? u"1" : u"0"; }

// The start-up window's own window, transition and exit settings.
void WriteStartupMain(const TIniSection& main, TIniStorage& project) {
  const std::u16string_view fixed[][2] = {
      {u"opt_fcp", u"0"},           {u"opt_repeat", u"stop"},
      {u"opt_scr_full", u"0"},      {u"opt_scr_fullfixedsize", u"0"},
      {u"opt_hidecursor", u"0"},    {u"opt_synch_count", u"0"},
      {u"opt_synchpos1", u"1000"},  {u"opt_synch_pointscount", u"1"},
      {u"opt_slidescount", u"1"},   {u"opt_fx_enable", u"0"},
      {u"opt_fx_neweffectscount", u"0"}, {u"opt_runapponexit", u"0"},
      {u"opt_runapponexitiflastslide", u"1"}, {u"opt_runapponexitfn", u""},
      {u"opt_usepass", u"0"},       {u"opt_logo", u"0"},
  };
  for (const auto& [key, value] : fixed) project.WriteString(u"main", key, value);
  project.WriteString(u"main", u"opt_scr_width", IntToText(main.ReadInteger(u"opt_startupwidth", 640)));
  project.WriteString(u"main", u"opt_scr_height", IntToText(main.ReadInteger(u"opt_startupheight", 480)));
  project.WriteString(u"main", u"opt_scr_caption", main.ReadString(u"stw_caption", u"Startup Window"));
  project.WriteString(u"main", u"opt_lockf1", BoolText(main.ReadBool(u"opt_lockf1", true)));
  const int32_t dialogs = CustomDialogCount(main);
  project.WriteString(u"main", u"opt_customdialogscount", IntToText(dialogs));
  for (int i = 1; i <= dialogs; ++i) {
    const std::u16string key = u"custom_dialog" + IntToText(i);
    project.WriteString(u"main", key, main.ReadString(key, u"NotFound"));
  }
}

}  // namespace

std::unique_ptr<TIniFile> BuildStartupProject(const TIniStorage& source) {
  const TIniSection* main = source.FindSection(u"main");
  if (!main || !source.FindSection(u"dialog_startup") || !source.FindSection(u"FileMap")) return nullptr;
  auto project = std::make_unique<TIniFile>();
  CopySection(source, u"FileMap", *project, u"FileMap");
  CopySection(source, u"dialog_startup", *project, u"slide1");
  CopySection(source, u"main", *project, u"main");
  WriteStartupMain(*main, *project);
  // The start-up window plays no music: the first "music" line goes.
  for (TCommonIniItem* item = project->FindSection(u"main")->First(); item; item = item->Next()) {
    auto* ident = dynamic_cast<TIniIdent*>(item);
    if (ident && SameTextIgnoringCase(ident->GetName(), u"music")) {
      delete ident;
      break;
    }
  }
  CopySection(source, u"dialog_help", *project, u"dialog_help");
  const int32_t dialogs = CustomDialogCount(*main);
  for (int i = 1; i <= dialogs; ++i) {
    const std::u16string name = u"dialog_" + IntToText(i) + u"_";
    CopySection(source, name, *project, name);
  }
  return project;
}

TFileAccessor::TReadHook StartupProjectHook(std::u16string projectName) {
  return [projectName = std::move(projectName)](std::u16string_view name,
                                                std::unique_ptr<TStream> stream) -> std::unique_ptr<TStream> {
    if (!stream || !SameTextIgnoringCase(name, projectName)) return stream;
    TIniFile source;
    try {
      if (!source.LoadFromStream(*stream)) return nullptr;
    } catch (const EKivError&) {
      return nullptr;
    }
    std::unique_ptr<TIniFile> startup = BuildStartupProject(source);
    auto replaced = std::make_unique<TMemoryStream>();
    if (!(startup ? *startup : source).SaveToStream(*replaced)) return nullptr;
    replaced->SetPosition(0);
    return replaced;
  };
}

}  // namespace kiv
