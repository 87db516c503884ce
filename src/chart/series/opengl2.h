// The OpenGL and GLU libraries, bound at run time by name so that the
// program runs on machines without them; only the OpenGL chart canvas
// needs them. One process-wide table holds the entry points the canvas
// calls; a library pair lacking any of them counts as not loadable, so a
// loaded table never has an empty slot.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

class TGLContext;

using GLenum = unsigned;
using GLboolean = unsigned char;
using GLbitfield = unsigned;
using GLint = int;
using GLuint = unsigned;
using GLsizei = int;
using GLfloat = float;
using GLdouble = double;
using GLubyte = unsigned char;
struct GLUquadric;
struct GLUtesselator;
using GLUcallback = void (*)();

// X(return type, name, parameter list)
#define ZV_GL_ENTRIES(X)                                                                                       \
  X(void, glBegin, (GLenum mode))                                                                               \
  X(void, glBindTexture, (GLenum target, GLuint texture))                                                      \
  X(void, glBlendFunc, (GLenum s, GLenum d))                                                                   \
  X(void, glCallLists, (GLsizei n, GLenum type, const void* lists))                                            \
  X(void, glClear, (GLbitfield mask))                                                                          \
  X(void, glClearColor, (GLfloat r, GLfloat g, GLfloat b, GLfloat a))                                          \
  X(void, glColor3f, (GLfloat r, GLfloat g, GLfloat b))                                                        \
  X(void, glColor4fv, (const GLfloat* v))                                                                      \
  X(void, glColorMaterial, (GLenum face, GLenum mode))                                                         \
  X(void, glDeleteLists, (GLuint list, GLsizei range))                                                         \
  X(void, glDeleteTextures, (GLsizei n, const GLuint* textures))                                               \
  X(void, glDepthFunc, (GLenum func))                                                                          \
  X(void, glDisable, (GLenum cap))                                                                             \
  X(void, glEnable, (GLenum cap))                                                                              \
  X(void, glEnd, ())                                                                                           \
  X(void, glFlush, ())                                                                                         \
  X(void, glFrontFace, (GLenum mode))                                                                          \
  X(void, glGenTextures, (GLsizei n, GLuint* textures))                                                        \
  X(void, glGetDoublev, (GLenum pname, GLdouble* params))                                                      \
  X(GLenum, glGetError, ())                                                                                    \
  X(void, glGetIntegerv, (GLenum pname, GLint* params))                                                        \
  X(const GLubyte*, glGetString, (GLenum name))                                                                \
  X(void, glHint, (GLenum target, GLenum mode))                                                                \
  X(GLboolean, glIsList, (GLuint list))                                                                        \
  X(GLboolean, glIsEnabled, (GLenum cap))                                                                      \
  X(void, glLightModelf, (GLenum pname, GLfloat param))                                                        \
  X(void, glLightModelfv, (GLenum pname, const GLfloat* params))                                               \
  X(void, glLightf, (GLenum light, GLenum pname, GLfloat param))                                               \
  X(void, glLightfv, (GLenum light, GLenum pname, const GLfloat* params))                                      \
  X(void, glLineStipple, (GLint factor, unsigned short pattern))                                               \
  X(void, glLineWidth, (GLfloat width))                                                                        \
  X(void, glListBase, (GLuint base))                                                                           \
  X(void, glLoadIdentity, ())                                                                                  \
  X(void, glMaterialfv, (GLenum face, GLenum pname, const GLfloat* params))                                    \
  X(void, glMateriali, (GLenum face, GLenum pname, GLint param))                                               \
  X(void, glMatrixMode, (GLenum mode))                                                                         \
  X(void, glNewList, (GLuint list, GLenum mode))                                                               \
  X(void, glEndList, ())                                                                         \
  X(void, glNormal3f, (GLfloat x, GLfloat y, GLfloat z))                                                       \
  X(void, glNormal3i, (GLint x, GLint y, GLint z))                                                             \
  X(void, glOrtho, (GLdouble l, GLdouble r, GLdouble b, GLdouble t, GLdouble n, GLdouble f))                   \
  X(void, glPixelStorei, (GLenum pname, GLint param))                                                          \
  X(void, glPolygonMode, (GLenum face, GLenum mode))                                                           \
  X(void, glPolygonOffset, (GLfloat factor, GLfloat units))                                                    \
  X(void, glPopMatrix, ())                                                                                     \
  X(void, glPushMatrix, ())                                                                                    \
  X(void, glRotatef, (GLfloat angle, GLfloat x, GLfloat y, GLfloat z))                                         \
  X(void, glScalef, (GLfloat x, GLfloat y, GLfloat z))                                                         \
  X(void, glShadeModel, (GLenum mode))                                                                         \
  X(void, glTexCoord2f, (GLfloat s, GLfloat t))                                                                \
  X(void, glTexCoord3i, (GLint s, GLint t, GLint r))                                                           \
  X(void, glTexEnvi, (GLenum target, GLenum pname, GLint param))                                               \
  X(void, glTexImage2D, (GLenum target, GLint level, GLint internal, GLsizei w, GLsizei h, GLint border,       \
                         GLenum format, GLenum type, const void* pixels))                                      \
  X(void, glTexParameteri, (GLenum target, GLenum pname, GLint param))                                         \
  X(void, glTranslated, (GLdouble x, GLdouble y, GLdouble z))                                                  \
  X(void, glTranslatef, (GLfloat x, GLfloat y, GLfloat z))                                                     \
  X(void, glVertex2i, (GLint x, GLint y))                                                                      \
  X(void, glVertex3d, (GLdouble x, GLdouble y, GLdouble z))                                                    \
  X(void, glVertex3i, (GLint x, GLint y, GLint z))                                                             \
  X(void, glViewport, (GLint x, GLint y, GLsizei w, GLsizei h))

#define ZV_GLU_ENTRIES(X)                                                                                      \
  X(void, gluCylinder, (GLUquadric * q, GLdouble base, GLdouble top, GLdouble height, GLint slices, GLint stacks)) \
  X(void, gluDeleteQuadric, (GLUquadric * q))                                                                  \
  X(void, gluDisk, (GLUquadric * q, GLdouble inner, GLdouble outer, GLint slices, GLint loops))               \
  X(GLUquadric*, gluNewQuadric, ())                                                                            \
  X(void, gluPerspective, (GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar))                     \
  X(GLint, gluProject, (GLdouble x, GLdouble y, GLdouble z, const GLdouble* model, const GLdouble* proj,        \
                        const GLint* view, GLdouble* wx, GLdouble* wy, GLdouble* wz))                          \
  X(GLint, gluUnProject, (GLdouble wx, GLdouble wy, GLdouble wz, const GLdouble* model, const GLdouble* proj,   \
                          const GLint* view, GLdouble* x, GLdouble* y, GLdouble* z))                           \
  X(void, gluQuadricDrawStyle, (GLUquadric * q, GLenum draw))                                                  \
  X(void, gluQuadricNormals, (GLUquadric * q, GLenum normal))                                                  \
  X(void, gluQuadricOrientation, (GLUquadric * q, GLenum orientation))                                         \
  X(void, gluQuadricTexture, (GLUquadric * q, GLboolean texture))                                              \
  X(void, gluSphere, (GLUquadric * q, GLdouble radius, GLint slices, GLint stacks))                           \
  X(GLUtesselator*, gluNewTess, ())                                                                            \
  X(void, gluDeleteTess, (GLUtesselator * t))                                                                  \
  X(void, gluTessCallback, (GLUtesselator * t, GLenum which, GLUcallback fn))                                  \
  X(void, gluTessNormal, (GLUtesselator * t, GLdouble x, GLdouble y, GLdouble z))                              \
  X(void, gluTessBeginPolygon, (GLUtesselator * t, void* data))                                                \
  X(void, gluTessBeginContour, (GLUtesselator * t))                                                            \
  X(void, gluTessVertex, (GLUtesselator * t, GLdouble * location, void* data))                                 \
  X(void, gluTessEndContour, (GLUtesselator * t))                                                              \
  X(void, gluTessEndPolygon, (GLUtesselator * t))

struct TGLEntryPoints {
#define ZV_GL_SLOT(ret, name, params) ret(*name) params = nullptr;
  ZV_GL_ENTRIES(ZV_GL_SLOT)
  ZV_GLU_ENTRIES(ZV_GL_SLOT)
#undef ZV_GL_SLOT
  // Optional: skipped when the GLU library lacks it.
  const GLubyte* (*gluGetString)(GLenum name) = nullptr;
};

// The process-wide table; every slot is empty while nothing is loaded.
extern TGLEntryPoints GL;

// True at once when loaded; else tries the pair (libGL, libGLU).
bool LoadOpenGLLibraries();
// Unloads first; true when both libraries load and offer every required
// entry point, else both are released and the table stays empty.
bool LoadOpenGLLibraryPair(const std::string& glName, const std::string& gluName);
void UnloadOpenGLLibraries();
bool OpenGLLibrariesLoaded();

// Installs a table of one's own (a recording or failing stand-in) and a
// context maker; null maker restores the off-screen contexts. Until
// UnloadOpenGLLibraries the libraries count as loaded.
using TGLContextMaker = std::unique_ptr<TGLContext> (*)(int width, int height);
void InstallOpenGLEntryPoints(const TGLEntryPoints& table, TGLContextMaker maker);
// The library names LoadOpenGLLibraries tries (tests point them at missing
// files to see the fallback); empty names restore the defaults.
void SetOpenGLLibraryNames(const std::string& glName, const std::string& gluName);

// A rendering context of that size; null when none can be made (the
// libraries do not load, no EGL display). The first context reads the
// implementation information.
std::unique_ptr<TGLContext> CreateGLRenderingContext(int width, int height);

struct TOpenGLImplementationInfo {
  bool GL_1_0 = false, GL_1_1 = false, GL_1_2 = false;
  bool GLU_1_1 = false, GLU_1_2 = false;
  std::string Extensions;  // the GL extension text, searched by HasExtension
  bool HasExtension(const std::string& name) const { return Extensions.find(name) != std::string::npos; }
};
extern TOpenGLImplementationInfo OpenGLImplementationInfo;

struct TGLVersion {
  int Major = 0;
  int Minor = 0;
};
// "major.minor[.release] vendor words"; an unreadable part gives 0. For the
// GLU text anything before the digits ahead of the first "." is skipped.
TGLVersion ParseGLVersion(const std::string& text);
// Reads the version flags and the extension text; a context must be current.
void ReadOpenGLImplementationInfo();
