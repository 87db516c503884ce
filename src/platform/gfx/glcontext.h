// GL rendering contexts for the chart's OpenGL canvas.
//
// Contexts are off-screen: a desktop-GL compatibility context on an EGL
// pbuffer (Mesa's surfaceless platform first, then the default display).
// A window shows the picture by drawing the read-back image onto its canvas,
// so one road serves the screen, bitmaps, printing and the tests. The EGL
// library is bound at run time: without it no context can be made and the
// caller falls back to its raster drawing.
#pragma once

#include <memory>
#include <string>

class TBitmap;

class TGLContext {
public:
  virtual ~TGLContext() = default;
  // Makes the context current on this thread; false when that failed.
  virtual bool MakeCurrent() = 0;
  virtual void DoneCurrent() = 0;
  // Finishes the frame (the pbuffer has one buffer: waits for the GL).
  virtual void SwapBuffers() = 0;
  // New drawing-surface size; the context stays, the picture is lost.
  virtual bool Resize(int width, int height) = 0;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  // The current picture, top row first, into a 32-bit bitmap of the
  // context's size. The context must be current.
  virtual bool ReadPixels(TBitmap& target) = 0;
};

// An off-screen context of that size, or null (no EGL, no display, no
// matching configuration); LastGLContextError() then says why.
std::unique_ptr<TGLContext> CreateOffscreenGLContext(int width, int height);
std::string LastGLContextError();
