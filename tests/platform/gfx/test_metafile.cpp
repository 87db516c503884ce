// Metafiles: recording, replay and the EMF and WMF files.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>

#include "gfx_test_util.h"
#include "platform/gfx/metafile.h"

namespace {

void Scene(TCanvas* c) {
  c->Pen()->SetColor(clNavy);
  c->Brush()->SetColor(clYellow);
  c->Rectangle(5, 5, 60, 40);
  c->Brush()->SetStyle(bsDiagCross);
  c->Brush()->SetColor(clRed);
  c->Ellipse(30, 20, 90, 70);
  c->Pen()->SetStyle(psDot);
  c->Polyline({{2, 78}, {50, 60}, {98, 78}});
  c->Pen()->SetStyle(psSolid);
  c->Pen()->SetWidth(3);
  c->Brush()->SetColor(clLime);
  c->Polygon({{70, 5}, {95, 5}, {95, 30}});
  c->Pen()->SetWidth(1);
  HRGN clip = CreateRectRgn(0, 40, 100, 80);
  c->SelectClipRgn(clip);
  DeleteObject(clip);
  c->Font()->SetName("Arial");
  c->Font()->SetSize(9);
  c->Brush()->SetStyle(bsClear);
  c->TextOut(10, 45, "Hi there");
  c->SelectClipRgn(nullptr);
  c->Pen()->SetMode(pmNotXor);
  c->MoveTo(0, 0);
  c->LineTo(99, 79);
  c->Pen()->SetMode(pmCopy);
  c->SetPixels(97, 2, clPurple);
  c->BeginPath();
  c->MoveTo(10, 72);
  c->LineTo(30, 72);
  c->LineTo(20, 79);
  c->CloseFigure();
  c->EndPath();
  c->Brush()->SetColor(clTeal);
  c->StrokeAndFillPath();
}

std::string ReadFile(const std::string& name) {
  std::ifstream f(name, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
}

uint32_t U32(const std::string& s, size_t at) {
  uint32_t v;
  std::memcpy(&v, s.data() + at, 4);
  return v;
}

}  // namespace

TEST(GfxMetafile, ReplayDrawsTheSamePixelsAsDirectDrawing) {
  TSurface direct(100, 80);
  Scene(direct.C);
  TMetafile mf;
  mf.SetWidth(100);
  mf.SetHeight(80);
  {
    TMetafileCanvas mc(&mf);
    Scene(&mc);
  }
  EXPECT_GE(mf.RecordCount(), 8);
  TSurface replay(100, 80);
  replay.C->Draw(0, 0, &mf);
  int diff = 0;
  for (int y = 0; y < 80; ++y)
    for (int x = 0; x < 100; ++x) diff += direct(x, y) != replay(x, y);
  EXPECT_EQ(diff, 0);
  EXPECT_EQ(replay.C->Pen()->Color(), clBlack);  // replay leaves the target's state alone

  TSurface twice(200, 160);
  twice.C->StretchDraw({0, 0, 200, 160}, &mf);
  EXPECT_EQ(twice(194, 4), clPurple);  // a pixel stays one device pixel
  EXPECT_EQ(twice(30, 30), direct(15, 15));
}

TEST(GfxMetafile, EnhancedFileHasAValidRecordStructure) {
  TMetafile mf;
  mf.SetWidth(100);
  mf.SetHeight(80);
  {
    TMetafileCanvas mc(&mf);
    Scene(&mc);
    TBitmap pic(4, 4);
    pic.Canvas()->SetPixels(0, 0, clRed);
    mc.Draw(50, 50, &pic);
  }
  std::string file = TestTempDir() + "/scene.emf";
  mf.SaveToFile(file);
  std::string emf = ReadFile(file);
  ASSERT_GT(emf.size(), 108u);
  EXPECT_EQ(U32(emf, 0), 1u);                       // header record
  EXPECT_EQ(emf.substr(40, 4), std::string(" EMF"));
  EXPECT_EQ(U32(emf, 48), emf.size());              // total size
  std::map<uint32_t, int> kinds;
  size_t at = 0;
  uint32_t records = 0, last = 0;
  while (at + 8 <= emf.size()) {
    uint32_t type = U32(emf, at), size = U32(emf, at + 4);
    ASSERT_GE(size, 8u);
    ASSERT_EQ(size % 4, 0u);
    ASSERT_LE(at + size, emf.size());
    ++kinds[type];
    ++records;
    last = type;
    at += size;
  }
  EXPECT_EQ(at, emf.size());
  EXPECT_EQ(U32(emf, 52), records);
  EXPECT_EQ(last, 14u);  // end of file
  for (uint32_t t : {43u /*rectangle*/, 42u /*ellipse*/, 84u /*text*/, 82u /*font*/, 75u /*clip*/, 81u /*bitmap*/,
                     54u /*line*/, 59u /*path*/, 20u /*rop2*/})
    EXPECT_GT(kinds[t], 0) << t;
}

TEST(GfxMetafile, AnotherProgramReadsTheEnhancedFile) {
  const char* tool = "/usr/bin/emf2svg-conv";
  if (std::FILE* f = std::fopen(tool, "r")) std::fclose(f);
  else GTEST_SKIP() << "emf2svg-conv is not installed";
  TMetafile mf;
  mf.SetWidth(100);
  mf.SetHeight(80);
  {
    TMetafileCanvas mc(&mf);
    Scene(&mc);
  }
  std::string dir = TestTempDir();
  mf.SaveToFile(dir + "/read.emf");
  std::string cmd = std::string(tool) + " -i " + dir + "/read.emf -o " + dir + "/read.svg > /dev/null 2>&1";
  ASSERT_EQ(std::system(cmd.c_str()), 0);
  std::string svg = ReadFile(dir + "/read.svg");
  EXPECT_NE(svg.find("<svg"), std::string::npos);
  EXPECT_NE(svg.find("Hi there"), std::string::npos);
  EXPECT_NE(svg.find("ellipse"), std::string::npos);
}

TEST(GfxMetafile, OldFormatFileIsPlaceable) {
  TMetafile mf;
  mf.SetWidth(100);
  mf.SetHeight(80);
  mf.SetEnhanced(false);
  {
    TMetafileCanvas mc(&mf);
    Scene(&mc);
  }
  TMemoryStream m;
  mf.SaveToStream(m);
  ASSERT_GT(m.Size(), 40);
  uint32_t key;
  std::memcpy(&key, m.Memory(), 4);
  EXPECT_EQ(key, 0x9AC6CDD7u);
  EXPECT_THROW(mf.LoadFromStream(m), EInvalidGraphic);
}

TEST(GfxMetafile, EmptyRecordingSavesAndDrawsNothing) {
  TMetafile mf;
  { TMetafileCanvas mc(&mf); }
  EXPECT_EQ(mf.RecordCount(), 0);
  TMemoryStream m;
  mf.SaveToStream(m);
  EXPECT_GT(m.Size(), 100);
  TSurface s(10, 10);
  s.C->Draw(0, 0, &mf);
  EXPECT_EQ(s.Inked(0, 0, 10, 10), 0);
}
