#include "chart/series/opengl2.h"

#include <cctype>

#include "platform/gfx/glcontext.h"
#include "platform/rtl/dynlib.h"

TGLEntryPoints GL;
TOpenGLImplementationInfo OpenGLImplementationInfo;

namespace {

constexpr GLenum GL_VERSION = 0x1F02, GL_EXTENSIONS = 0x1F03, GLU_VERSION = 100800;

HMODULE gGLHandle = nullptr;
HMODULE gGLUHandle = nullptr;
bool gInstalled = false;
bool gQueryPending = true;
TGLContextMaker gMaker = nullptr;
std::string gGLName, gGLUName;

const std::string& GLName() {
  static const std::string def = "libGL.so.1";
  return gGLName.empty() ? def : gGLName;
}
const std::string& GLUName() {
  static const std::string def = "libGLU.so.1";
  return gGLUName.empty() ? def : gGLUName;
}

// Binds every required name; false when one is missing.
bool BindOpenGLEntryPoints() {
  bool complete = true;
#define ZV_GL_BIND(ret, name, params)                                                      \
  GL.name = reinterpret_cast<ret(*) params>(GetProcAddress(gGLHandle, #name));            \
  complete = complete && GL.name != nullptr;
  ZV_GL_ENTRIES(ZV_GL_BIND)
#undef ZV_GL_BIND
#define ZV_GLU_BIND(ret, name, params)                                                     \
  GL.name = reinterpret_cast<ret(*) params>(GetProcAddress(gGLUHandle, #name));           \
  complete = complete && GL.name != nullptr;
  ZV_GLU_ENTRIES(ZV_GLU_BIND)
#undef ZV_GLU_BIND
  GL.gluGetString = reinterpret_cast<const GLubyte* (*)(GLenum)>(GetProcAddress(gGLUHandle, "gluGetString"));
  return complete;
}

// Digits at the start of the text; 0 when there are none.
int LeadingNumber(const std::string& s) {
  int value = 0;
  size_t i = 0;
  for (; i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])) && value < 100000; ++i)
    value = value * 10 + (s[i] - '0');
  return i == 0 ? 0 : value;
}

}  // namespace

bool OpenGLLibrariesLoaded() { return gInstalled || (gGLHandle && gGLUHandle); }

void UnloadOpenGLLibraries() {
  if (gGLHandle) FreeLibrary(gGLHandle);
  if (gGLUHandle) FreeLibrary(gGLUHandle);
  gGLHandle = gGLUHandle = nullptr;
  gInstalled = false;
  gMaker = nullptr;
  GL = TGLEntryPoints{};
  gQueryPending = true;
}

bool LoadOpenGLLibraryPair(const std::string& glName, const std::string& gluName) {
  UnloadOpenGLLibraries();
  gGLHandle = LoadLibrary(glName);
  gGLUHandle = LoadLibrary(gluName);
  if (gGLHandle && gGLUHandle && BindOpenGLEntryPoints()) return true;
  // A pair without every entry the canvas calls would crash at the first
  // paint: it counts as not loadable.
  UnloadOpenGLLibraries();
  return false;
}

bool LoadOpenGLLibraries() {
  if (OpenGLLibrariesLoaded()) return true;
  if (LoadOpenGLLibraryPair(GLName(), GLUName())) return true;
  // Then the unversioned names of the development packages.
  if (!gGLName.empty()) return false;
  return LoadOpenGLLibraryPair("libGL.so", "libGLU.so");
}

void SetOpenGLLibraryNames(const std::string& glName, const std::string& gluName) {
  gGLName = glName;
  gGLUName = gluName;
}

void InstallOpenGLEntryPoints(const TGLEntryPoints& table, TGLContextMaker maker) {
  UnloadOpenGLLibraries();
  GL = table;
  gMaker = maker;
  gInstalled = true;
}

std::unique_ptr<TGLContext> CreateGLRenderingContext(int width, int height) {
  if (!LoadOpenGLLibraries()) return nullptr;
  std::unique_ptr<TGLContext> rc = gMaker ? gMaker(width, height) : CreateOffscreenGLContext(width, height);
  if (rc && gQueryPending && rc->MakeCurrent()) {
    ReadOpenGLImplementationInfo();
    gQueryPending = false;
  }
  return rc;
}

TGLVersion ParseGLVersion(const std::string& text) {
  std::string s = text.substr(0, text.find(' '));
  const size_t dot = s.find('.');
  if (dot == std::string::npos || dot == 0) return {};
  // The run of digits right before the first "." starts the version.
  size_t start = dot;
  while (start > 0 && std::isdigit(static_cast<unsigned char>(s[start - 1]))) --start;
  TGLVersion v;
  v.Major = LeadingNumber(s.substr(start, dot - start));
  v.Minor = LeadingNumber(s.substr(dot + 1));
  return v;
}

void ReadOpenGLImplementationInfo() {
  TOpenGLImplementationInfo info;
  auto text = [](const GLubyte* s) { return s ? std::string(reinterpret_cast<const char*>(s)) : std::string(); };
  const TGLVersion gl = ParseGLVersion(text(GL.glGetString(GL_VERSION)));
  info.GL_1_0 = gl.Major >= 1;
  info.GL_1_1 = gl.Major > 1 || (gl.Major == 1 && gl.Minor >= 1);
  info.GL_1_2 = gl.Major > 1 || (gl.Major == 1 && gl.Minor >= 2);
  if (GL.gluGetString) {
    const TGLVersion glu = ParseGLVersion(text(GL.gluGetString(GLU_VERSION)));
    info.GLU_1_1 = glu.Major > 1 || (glu.Major == 1 && glu.Minor >= 1);
    info.GLU_1_2 = glu.Major > 1 || (glu.Major == 1 && glu.Minor >= 2);
  }
  info.Extensions = text(GL.glGetString(GL_EXTENSIONS));
  OpenGLImplementationInfo = info;
}
