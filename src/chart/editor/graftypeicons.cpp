#include "chart/editor/graftypeicons.h"

#include <algorithm>
#include <map>

#include "chart/core/chart.h"
#include "chart/core/grafprocs.h"
#include "chart/core/grafutils.h"
#include "chart/series/grafsurfa.h"
#include "platform/rtl/mathutils.h"
#include "platform/rtl/strutils.h"

namespace {

// Drawn this many times larger and reduced, so that thin lines stay visible.
constexpr int Oversample = 4;
constexpr int Inset = 2;

// The registered series type of that class name, ignoring case; nil for none.
const TGrafSeriesType* RegisteredType(const std::string& Name) {
  TGrafSeriesTypes* types = SeriesTypeRegistry();
  const TGrafSeriesType* found = nullptr;
  for (int i = 0; i < types->Count(); ++i) {
    const TGrafSeriesType* t = types->TypeAt(i);
    if (!t->SeriesClass || !SameText(t->SeriesClass->Name(), Name)) continue;
    // The plain entry of the class before one with a function.
    if (!found || (found->FunctionClass && !t->FunctionClass)) found = t;
  }
  return found;
}

std::unique_ptr<TBitmap> Paint(TClass SeriesClass, int SeriesCount) {
  const int inner = SeriesIconSize - 2 * Inset;
  const int big = inner * Oversample;
  TChart chart(nullptr);
  chart.RepaintOnChange = false;
  chart.SetBounds(0, 0, big, big);
  chart.SetColor(clWhite);
  chart.SetBevelOuter(bvNone);
  chart.SetView3D(false);
  chart.SetAxisVisible(false);
  chart.SetClipPoints(false);
  chart.Legend()->SetVisible(false);
  chart.Title()->Text()->Clear();
  chart.Title()->SetVisible(false);
  if (chart.Frame()) chart.Frame()->SetVisible(false);
  for (int side = 0; side < 4; ++side) chart.SetMarginSide(side, 0);
  // The same picture whenever it is made: the gallery data from a fixed
  // seed, and the program's own random sequence left where it was.
  struct TSeed {
    uint32_t Saved = RandSeed;
    TSeed() { RandSeed = 20240601; }
    ~TSeed() { RandSeed = Saved; }
  } seed;
  for (int i = 0; i < std::max(1, SeriesCount); ++i) {
    TChartSeries* s = CreateChartSeries(&chart, &chart, SeriesClass);
    if (!s) return nullptr;
    s->ApplyGallery3D(false);
    s->SetupGalleryPreview(true);
    s->Marks()->SetVisible(false);
    // Lines about a pixel wide once reduced; a 3D grid's mesh stays thin,
    // or it hides the colours.
    if (s->Pen() && !dynamic_cast<TCustom3DSeries*>(s)) s->Pen()->SetWidth(Oversample - 1);
  }

  TBitmap large(big, big, pf24bit);
  large.Canvas()->Brush()->SetColor(clWhite);
  large.Canvas()->FillRect(Rect(0, 0, big, big));
  chart.DrawOnCanvas(large.Canvas(), Rect(0, 0, big, big));
  TBitmap small(inner, inner, pf24bit);
  SmoothStretchQuality(&large, &small, 1);

  auto icon = std::make_unique<TBitmap>(SeriesIconSize, SeriesIconSize, pf24bit);
  icon->Canvas()->Brush()->SetColor(clWhite);
  icon->Canvas()->FillRect(Rect(0, 0, SeriesIconSize, SeriesIconSize));
  icon->Canvas()->Draw(Inset, Inset, &small);
  // The list's own colour shows around the picture.
  icon->SetTransparentMode(tmFixed);
  icon->SetTransparentColor(clWhite);
  icon->SetTransparent(true);
  return icon;
}

}  // namespace

std::unique_ptr<TBitmap> MakeSeriesTypeIcon(TClass SeriesClass) {
  if (!SeriesClass || !SeriesClass->InheritsFrom(&TChartSeries::StaticClass())) return nullptr;
  const TGrafSeriesType* type = RegisteredType(SeriesClass->Name());
  try {
    return Paint(SeriesClass, type ? type->GallerySeriesCount : 1);
  } catch (const std::exception&) {
    return nullptr;  // a type that cannot draw itself has no picture
  }
}

bool LoadSeriesTypeIcon(const std::string& Name, TBitmap* Bitmap) {
  // Made once per class: the list box asks on every paint of every row.
  // Kept to the end of the run and never destroyed: the pictures must not
  // outlive the window system at exit.
  static auto& made = *new std::map<std::string, std::unique_ptr<TBitmap>>;
  const TGrafSeriesType* type = RegisteredType(Name);
  if (!type) return false;
  auto it = made.find(type->SeriesClass->Name());
  if (it == made.end()) it = made.emplace(type->SeriesClass->Name(), MakeSeriesTypeIcon(type->SeriesClass)).first;
  if (!it->second) return false;
  Bitmap->Assign(it->second.get());
  return true;
}

void RegisterSeriesTypeIcons() { RegisterBitmapResources(LoadSeriesTypeIcon); }
