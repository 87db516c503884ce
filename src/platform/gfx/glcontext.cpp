#include "platform/gfx/glcontext.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/gfx/bitmap.h"
#include "platform/rtl/dynlib.h"

namespace {

// The few EGL names and values used here (EGL 1.4 and two extensions).
using EGLDisplay = void*;
using EGLConfig = void*;
using EGLContext = void*;
using EGLSurface = void*;
using EGLint = int32_t;
using EGLBoolean = unsigned;
using EGLenum = unsigned;
constexpr EGLint EGL_NONE = 0x3038, EGL_SURFACE_TYPE = 0x3033, EGL_PBUFFER_BIT = 0x0001,
                 EGL_RENDERABLE_TYPE = 0x3040, EGL_OPENGL_BIT = 0x0008, EGL_RED_SIZE = 0x3024,
                 EGL_GREEN_SIZE = 0x3023, EGL_BLUE_SIZE = 0x3022, EGL_ALPHA_SIZE = 0x3021, EGL_DEPTH_SIZE = 0x3025,
                 EGL_STENCIL_SIZE = 0x3026, EGL_WIDTH = 0x3057, EGL_HEIGHT = 0x3056;
constexpr EGLenum EGL_OPENGL_API = 0x30A2, EGL_PLATFORM_SURFACELESS_MESA = 0x31DD;
constexpr unsigned GL_RGBA = 0x1908, GL_UNSIGNED_BYTE = 0x1401, GL_PACK_ALIGNMENT = 0x0D05;

struct TEgl {
  EGLDisplay (*GetDisplay)(void*) = nullptr;
  void* (*GetProcAddress)(const char*) = nullptr;
  EGLBoolean (*Initialize)(EGLDisplay, EGLint*, EGLint*) = nullptr;
  EGLBoolean (*ChooseConfig)(EGLDisplay, const EGLint*, EGLConfig*, EGLint, EGLint*) = nullptr;
  EGLBoolean (*BindAPI)(EGLenum) = nullptr;
  EGLSurface (*CreatePbufferSurface)(EGLDisplay, EGLConfig, const EGLint*) = nullptr;
  EGLContext (*CreateContext)(EGLDisplay, EGLConfig, EGLContext, const EGLint*) = nullptr;
  EGLBoolean (*MakeCurrent)(EGLDisplay, EGLSurface, EGLSurface, EGLContext) = nullptr;
  EGLBoolean (*DestroySurface)(EGLDisplay, EGLSurface) = nullptr;
  EGLBoolean (*DestroyContext)(EGLDisplay, EGLContext) = nullptr;
  void (*ReadPixels)(int, int, int, int, unsigned, unsigned, void*) = nullptr;
  void (*PixelStorei)(unsigned, int) = nullptr;
  void (*Finish)() = nullptr;
  EGLDisplay Display = nullptr;
  EGLConfig Config = nullptr;
  bool Tried = false;
};

std::string gError;

template <class F>
bool Bind(HMODULE lib, F& slot, const char* name) {
  slot = reinterpret_cast<F>(GetProcAddress(lib, name));
  return slot != nullptr;
}

// Loads EGL and picks one display and configuration for the whole process.
TEgl* Egl() {
  static TEgl egl;
  if (egl.Tried) return egl.Display ? &egl : nullptr;
  egl.Tried = true;
  HMODULE lib = LoadLibrary("libEGL.so.1");
  HMODULE gl = LoadLibrary("libGL.so.1");
  if (!lib || !gl) {
    gError = "no EGL or GL library: " + LastLoaderMessage();
    return nullptr;
  }
  bool ok = Bind(lib, egl.GetDisplay, "eglGetDisplay") && Bind(lib, egl.GetProcAddress, "eglGetProcAddress") &&
            Bind(lib, egl.Initialize, "eglInitialize") && Bind(lib, egl.ChooseConfig, "eglChooseConfig") &&
            Bind(lib, egl.BindAPI, "eglBindAPI") && Bind(lib, egl.CreatePbufferSurface, "eglCreatePbufferSurface") &&
            Bind(lib, egl.CreateContext, "eglCreateContext") && Bind(lib, egl.MakeCurrent, "eglMakeCurrent") &&
            Bind(lib, egl.DestroySurface, "eglDestroySurface") &&
            Bind(lib, egl.DestroyContext, "eglDestroyContext") && Bind(gl, egl.ReadPixels, "glReadPixels") &&
            Bind(gl, egl.PixelStorei, "glPixelStorei") && Bind(gl, egl.Finish, "glFinish");
  if (!ok) {
    gError = "EGL library lacks an entry point";
    return nullptr;
  }
  using TPlatformDisplay = EGLDisplay (*)(EGLenum, void*, const EGLint*);
  auto platformDisplay = reinterpret_cast<TPlatformDisplay>(egl.GetProcAddress("eglGetPlatformDisplayEXT"));
  const EGLint configAttribs[] = {EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT,
                                  EGL_RED_SIZE, 8, EGL_GREEN_SIZE, 8, EGL_BLUE_SIZE, 8, EGL_ALPHA_SIZE, 8,
                                  EGL_DEPTH_SIZE, 24, EGL_STENCIL_SIZE, 1, EGL_NONE};
  // Surfaceless needs no display server; the default display is the
  // fallback on drivers without it.
  EGLDisplay candidates[2] = {platformDisplay ? platformDisplay(EGL_PLATFORM_SURFACELESS_MESA, nullptr, nullptr)
                                              : nullptr,
                              nullptr};
  for (int i = 0; i < 2; ++i) {
    EGLDisplay d = i == 0 ? candidates[0] : egl.GetDisplay(nullptr);
    if (!d) continue;
    EGLint major = 0, minor = 0, n = 0;
    EGLConfig config = nullptr;
    if (!egl.Initialize(d, &major, &minor)) continue;
    if (!egl.ChooseConfig(d, configAttribs, &config, 1, &n) || n < 1) continue;
    egl.Display = d;
    egl.Config = config;
    return &egl;
  }
  gError = "no EGL display offers desktop GL on a pbuffer";
  return nullptr;
}

class TEglContext : public TGLContext {
public:
  TEglContext(TEgl* egl, EGLContext context) : FEgl(egl), FContext(context) {}
  ~TEglContext() override {
    FEgl->MakeCurrent(FEgl->Display, nullptr, nullptr, nullptr);
    if (FSurface) FEgl->DestroySurface(FEgl->Display, FSurface);
    FEgl->DestroyContext(FEgl->Display, FContext);
  }
  bool MakeCurrent() override {
    FEgl->BindAPI(EGL_OPENGL_API);
    return FEgl->MakeCurrent(FEgl->Display, FSurface, FSurface, FContext) != 0;
  }
  void DoneCurrent() override { FEgl->MakeCurrent(FEgl->Display, nullptr, nullptr, nullptr); }
  void SwapBuffers() override { FEgl->Finish(); }
  bool Resize(int width, int height) override {
    width = std::max(1, width);
    height = std::max(1, height);
    if (FSurface && width == FWidth && height == FHeight) return true;
    const EGLint attribs[] = {EGL_WIDTH, width, EGL_HEIGHT, height, EGL_NONE};
    EGLSurface surface = FEgl->CreatePbufferSurface(FEgl->Display, FEgl->Config, attribs);
    if (!surface) return false;
    FEgl->MakeCurrent(FEgl->Display, nullptr, nullptr, nullptr);
    if (FSurface) FEgl->DestroySurface(FEgl->Display, FSurface);
    FSurface = surface;
    FWidth = width;
    FHeight = height;
    return true;
  }
  int Width() const override { return FWidth; }
  int Height() const override { return FHeight; }
  bool ReadPixels(TBitmap& target) override {
    std::vector<uint8_t> rgba(static_cast<size_t>(FWidth) * FHeight * 4);
    FEgl->PixelStorei(GL_PACK_ALIGNMENT, 1);
    FEgl->ReadPixels(0, 0, FWidth, FHeight, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    target.SetSize(FWidth, FHeight);
    target.SetPixelFormat(pf32bit);
    // GL rows run bottom-up in RGBA; the bitmap's top-down in BGRA.
    for (int y = 0; y < FHeight; ++y) {
      const uint8_t* src = rgba.data() + static_cast<size_t>(FHeight - 1 - y) * FWidth * 4;
      uint8_t* dst = target.ScanLine(y);
      for (int x = 0; x < FWidth; ++x) {
        dst[4 * x] = src[4 * x + 2];
        dst[4 * x + 1] = src[4 * x + 1];
        dst[4 * x + 2] = src[4 * x];
        dst[4 * x + 3] = 255;
      }
    }
    return true;
  }

private:
  TEgl* FEgl;
  EGLContext FContext;
  EGLSurface FSurface = nullptr;
  int FWidth = 0;
  int FHeight = 0;
};

}  // namespace

std::unique_ptr<TGLContext> CreateOffscreenGLContext(int width, int height) {
  TEgl* egl = Egl();
  if (!egl) return nullptr;
  if (!egl->BindAPI(EGL_OPENGL_API)) {
    gError = "EGL does not offer desktop GL";
    return nullptr;
  }
  // No attributes: the driver's compatibility profile, where the
  // fixed-function calls live.
  EGLContext context = egl->CreateContext(egl->Display, egl->Config, nullptr, nullptr);
  if (!context) {
    gError = "EGL could not create a GL context";
    return nullptr;
  }
  auto result = std::make_unique<TEglContext>(egl, context);
  if (!result->Resize(width, height)) {
    gError = "EGL could not create a pbuffer";
    return nullptr;
  }
  return result;
}

std::string LastGLContextError() { return gError; }
