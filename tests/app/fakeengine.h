// The purpose-built engine library of the binding's tests, loaded and steered
// from the window tests: settings before a run, counters and texts after.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "platform/rtl/dynlib.h"

namespace apptest {

class TFakeEngine {
public:
  TFakeEngine() : FName("zvfake_engine.dll") {
    FHandle = LoadLibrary(FName);
    if (FHandle == nullptr) throw std::runtime_error("cannot load " + FName + ": " + LastLoaderMessage());
    FSet = reinterpret_cast<void (*)(const char*, double)>(GetProcAddress(FHandle, "fake_set"));
    FGet = reinterpret_cast<double (*)(const char*)>(GetProcAddress(FHandle, "fake_get"));
    FText = reinterpret_cast<void (*)(const char*, char*, int)>(GetProcAddress(FHandle, "fake_text"));
    reinterpret_cast<void (*)()>(GetProcAddress(FHandle, "fake_reset"))();
  }
  ~TFakeEngine() { FreeLibrary(FHandle); }
  TFakeEngine(const TFakeEngine&) = delete;
  TFakeEngine& operator=(const TFakeEngine&) = delete;

  const std::string& Name() const { return FName; }
  void Set(const char* key, double value) { FSet(key, value); }
  double Get(const char* key) { return FGet(key); }
  std::string Text(const char* key) {
    std::vector<char> buffer(1024);
    FText(key, buffer.data(), static_cast<int>(buffer.size()));
    return buffer.data();
  }

private:
  std::string FName;
  HMODULE FHandle = nullptr;
  void (*FSet)(const char*, double) = nullptr;
  double (*FGet)(const char*) = nullptr;
  void (*FText)(const char*, char*, int) = nullptr;
};

}  // namespace apptest
