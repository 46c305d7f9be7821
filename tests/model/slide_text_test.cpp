// Texts on the slides of a show: their macros tell the slide's place in the order the
// show plays (shuffled or not), the show's slide count and the main picture's whole size.
#include <gtest/gtest.h>

#include "model/kinds_test_support.h"
#include "model/kiv_text.h"
#include "model/slide_producer.h"
#include "support/show_source.h"

namespace kiv {
namespace {

TEST_F(KindsTest, MacrosTellTheShownPlaceTheCountAndTheMainPicturesWholeSize) {
  Magick("-size 400x300 xc:red photo.jpg");
  TScriptedRandom random({900, 5, 700, 5, 100});  // plays sections 4, 2, 5, 3, 1
  TProcessRandomScope scope(random);
  std::string project = "[main]\nProjectFilePath=C:\\Shows\\macro-order.kiv\nopt_slidescount=5\nopt_random=1\n";
  for (int section = 1; section <= 5; ++section)
    project += "[Slide" + std::to_string(section) +
               "]\nobject P: MainImage\n  ImageName=photo.jpg\n  object K: keypoint\n    ScaleX=10\n  end\nend\n"
               "object T: text\n  Text=\"<%SlideIndex%>/<%slidescount%> " +
               std::to_string(section) + " <%MainImg.Width%>x<%MainImg.Height%>\"\n  BlackBoxSize=100,20\nend\n";
  TKivSource source(&accessor, ParseProject(project).release(), true, u"show.exe", &random);
  TSlideProducer producer(source, StandardObjectKinds(), InstallStandardPictureProviders);
  producer.SetOutput({800, 600}, TSlideFit::Inside, 100, 100);
  const char16_t* expected[] = {u"1/5 4 400x300", u"2/5 2 400x300", u"3/5 5 400x300", u"4/5 3 400x300",
                                u"5/5 1 400x300"};
  for (int position = 0; position < 5; ++position) {
    const std::unique_ptr<TKivSlide> shown = producer.MakeSlide(position);
    ASSERT_TRUE(shown);
    auto& text = dynamic_cast<TKivText&>(*shown->Children().at(1));
    EXPECT_EQ(text.ExpandedLines(), std::vector<std::u16string>{expected[position]}) << position;
  }
}

}  // namespace
}  // namespace kiv
