#include "platform/virtual_audio_output.h"

#include <algorithm>
#include <cstring>

namespace kiv {

namespace {

void PutLe(uint8_t* at, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) at[i] = uint8_t(value >> (8 * i));
}

}  // namespace

TVirtualAudioOutput::TVirtualAudioOutput(bool keep, std::filesystem::path wavFile) : FKeep(keep) {
  if (!wavFile.empty()) {
    FFile = std::fopen(wavFile.c_str(), "wb");
    if (FFile) WriteOutputWavHeader(FFile, 0);
  }
}

TVirtualAudioOutput::~TVirtualAudioOutput() { CloseFile(); }

bool TVirtualAudioOutput::Start(TAudioPull pull) {
  std::lock_guard lock(FLock);
  FPull = std::move(pull);
  return true;
}

void TVirtualAudioOutput::Stop() {
  std::lock_guard lock(FLock);
  FPull = nullptr;
}

uint64_t TVirtualAudioOutput::FramesPlayed() const {
  std::lock_guard lock(FLock);
  return FFrames;
}

void TVirtualAudioOutput::Render(size_t frameCount) {
  std::lock_guard lock(FLock);
  FChunk.assign(frameCount * kOutputChannels, 0);
  if (FPull) FPull(FChunk.data(), frameCount);
  if (FKeep) FSamples.insert(FSamples.end(), FChunk.begin(), FChunk.end());
  if (FFile) {
    // The file holds little-endian samples, as this machine does.
    std::fwrite(FChunk.data(), sizeof(int16_t), FChunk.size(), FFile);
    FFileBytes += FChunk.size() * sizeof(int16_t);
  }
  FFrames += frameCount;
}

std::vector<int16_t> TVirtualAudioOutput::Samples() const {
  std::lock_guard lock(FLock);
  return FSamples;
}

void TVirtualAudioOutput::CloseFile() {
  std::lock_guard lock(FLock);
  if (!FFile) return;
  std::fseek(FFile, 0, SEEK_SET);
  WriteOutputWavHeader(FFile, FFileBytes);
  std::fclose(FFile);
  FFile = nullptr;
}

void WriteOutputWavHeader(std::FILE* file, uint64_t bytes) {
  const auto dataBytes = uint32_t(std::min<uint64_t>(bytes, 0xFFFFFFFFu - 36));
  uint8_t header[44];
  std::memcpy(header, "RIFF", 4);
  PutLe(header + 4, 36 + dataBytes, 4);
  std::memcpy(header + 8, "WAVEfmt ", 8);
  PutLe(header + 16, 16, 4);
  PutLe(header + 20, 1, 2);  // PCM
  PutLe(header + 22, kOutputChannels, 2);
  PutLe(header + 24, kOutputRate, 4);
  PutLe(header + 28, kOutputRate * kOutputFrameBytes, 4);
  PutLe(header + 32, kOutputFrameBytes, 2);
  PutLe(header + 34, 16, 2);
  std::memcpy(header + 36, "data", 4);
  PutLe(header + 40, dataBytes, 4);
  std::fwrite(header, 1, sizeof header, file);
}

}  // namespace kiv
