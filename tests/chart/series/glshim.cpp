#include "glshim.h"

#include <charconv>
#include <memory>
#include <type_traits>

#include "platform/gfx/bitmap.h"
#include "platform/gfx/glcontext.h"

namespace glshim {

std::vector<std::string> Log;
std::string FailAfter;
GLenum Error = 0;
std::string Version = "1.1.0";
bool ContextsAvailable = true;

namespace {

bool gPending = false;

template <class T>
std::string Text(T v) {
  if constexpr (std::is_pointer_v<T>) {
    return "p";
  } else if constexpr (std::is_floating_point_v<T>) {
    char buf[32];
    auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
  } else {
    return std::to_string(static_cast<long long>(v));
  }
}

void Record(const char* name, std::string args) {
  Log.push_back(std::string(name) + "(" + args + ")");
  if (!FailAfter.empty() && FailAfter == name) gPending = true;
}

template <const char* Name, class F>
struct TRec;
template <const char* Name, class R, class... A>
struct TRec<Name, R (*)(A...)> {
  static R Call(A... a) {
    std::string args;
    ((args += (args.empty() ? "" : ",") + Text(a)), ...);
    Record(Name, args);
    if constexpr (!std::is_void_v<R>) return R{};
  }
};

#define SHIM_NAME(ret, name, params) constexpr char k_##name[] = #name;
ZV_GL_ENTRIES(SHIM_NAME)
ZV_GLU_ENTRIES(SHIM_NAME)
#undef SHIM_NAME

GLenum GetError() {
  if (!gPending) return 0;
  gPending = false;
  return Error;
}

const GLubyte* GetString(GLenum name) {
  static std::string text;
  text = name == 0x1F02 ? Version : std::string("GL_EXT_texture_object");
  return reinterpret_cast<const GLubyte*>(text.c_str());
}

std::string Floats(const GLfloat* v, int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += (i ? "," : "") + Text(v[i]);
  return s;
}
void Lightfv(GLenum light, GLenum pname, const GLfloat* v) {
  Record("glLightfv", Text(light) + "," + Text(pname) + "," + Floats(v, 4));
}
void LightModelfv(GLenum pname, const GLfloat* v) { Record("glLightModelfv", Text(pname) + "," + Floats(v, 4)); }
void Color4fv(const GLfloat* v) { Record("glColor4fv", Floats(v, 4)); }
void GetIntegerv(GLenum pname, GLint* v) {
  Record("glGetIntegerv", Text(pname));
  if (pname == 0x0D33) *v = 1024;  // GL_MAX_TEXTURE_SIZE
  if (pname == 0x0BA2) v[0] = v[1] = v[2] = v[3] = 0;
}
GLuint gNextTexture = 1;
void GenTextures(GLsizei n, GLuint* names) {
  Record("glGenTextures", Text(n));
  for (int i = 0; i < n; ++i) names[i] = gNextTexture++;
}
void DeleteTextures(GLsizei n, const GLuint* names) { Record("glDeleteTextures", Text(n) + "," + Text(names[0])); }
GLUtesselator* NewTess() {
  Record("gluNewTess", "");
  static int dummy;
  return reinterpret_cast<GLUtesselator*>(&dummy);
}
GLboolean IsList(GLuint list) {
  Record("glIsList", Text(list));
  return 1;
}
GLUquadric* NewQuadric() {
  Record("gluNewQuadric", "");
  static int dummy;
  return reinterpret_cast<GLUquadric*>(&dummy);
}

class TFakeContext : public TGLContext {
public:
  TFakeContext(int w, int h) : FW(w), FH(h) {}
  bool MakeCurrent() override { return true; }
  void DoneCurrent() override {}
  void SwapBuffers() override {}
  bool Resize(int w, int h) override {
    FW = w;
    FH = h;
    return true;
  }
  int Width() const override { return FW; }
  int Height() const override { return FH; }
  bool ReadPixels(TBitmap&) override { return false; }

private:
  int FW, FH;
};

std::unique_ptr<TGLContext> MakeContext(int w, int h) {
  if (!ContextsAvailable) return nullptr;
  return std::make_unique<TFakeContext>(w, h);
}

}  // namespace

void Install() {
  TGLEntryPoints t;
#define SHIM_SLOT(ret, name, params) t.name = &TRec<k_##name, decltype(t.name)>::Call;
  ZV_GL_ENTRIES(SHIM_SLOT)
  ZV_GLU_ENTRIES(SHIM_SLOT)
#undef SHIM_SLOT
  t.glGetError = &GetError;
  t.glGetString = &GetString;
  t.glLightfv = &Lightfv;
  t.glLightModelfv = &LightModelfv;
  t.glColor4fv = &Color4fv;
  t.glGetIntegerv = &GetIntegerv;
  t.glGenTextures = &GenTextures;
  t.glDeleteTextures = &DeleteTextures;
  t.gluNewQuadric = &NewQuadric;
  t.glIsList = &IsList;
  t.gluNewTess = &NewTess;
  InstallOpenGLEntryPoints(t, &MakeContext);
  Log.clear();
  FailAfter.clear();
  Error = 0;
  gPending = false;
  Version = "1.1.0";
  ContextsAvailable = true;
}

std::vector<std::string> CallsOf(const std::string& prefix) {
  std::vector<std::string> r;
  for (const std::string& s : Log)
    if (s.rfind(prefix, 0) == 0) r.push_back(s);
  return r;
}

bool Called(const std::string& prefix) { return !CallsOf(prefix).empty(); }

}  // namespace glshim
