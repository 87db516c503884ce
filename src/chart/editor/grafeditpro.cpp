#include "chart/editor/grafeditpro.h"

#include "chart/editor/grafexport.h"
#include "chart/editor/grafstore.h"
#include "platform/rtl/stringlist.h"
#include "platform/ui/commondialogs.h"

// ---- TChartImage ------------------------------------------------------------------------

TChartImage::~TChartImage() {
  if (FOwnsChart) delete FChart;
}

TChart* TChartImage::Chart() const {
  if (!FChart) {
    FChart = new TChart(nullptr);
    FChart->SetBufferedDisplay(false);
    FOwnsChart = true;
  }
  return FChart;
}

void TChartImage::SetChart(TChart* Value) {
  if (Value == FChart) return;
  if (FOwnsChart) delete FChart;
  FChart = Value;
  FOwnsChart = false;
  Changed();
}

void TChartImage::SetTransparent(bool) { Chart()->SetColor(clNone); }

void TChartImage::Assign(const TGraphic* source) {
  if (auto* image = dynamic_cast<const TChartImage*>(source)) {
    if (image->FChart) Chart()->Assign(image->FChart);
    return;
  }
  AssignError(source);
}

void TChartImage::Draw(TCanvas* canvas, const TRect& rect) {
  canvas->Brush()->SetColor(clWhite);
  canvas->Brush()->SetStyle(bsSolid);
  canvas->FillRect(rect);
  Chart()->DrawOnCanvas(canvas, rect);
}

void TChartImage::LoadFromStream(TStream& stream) {
  TChart* chart = Chart();
  ReadChartStreamWithData(chart, stream);
  chart->SetBufferedDisplay(false);
  Changed();
}

void TChartImage::SaveToStream(TStream& stream) const { WriteChartStream(Chart(), stream, true, false); }

void TChartImage::SaveToFile(const std::string& fileName) const { WriteChartFile(Chart(), fileName, true, false); }

// ---- The save-chart dialog --------------------------------------------------------------

void SaveChartDialog(TCustomChart* Chart, std::string& FileName) {
  FileName.clear();
  if (!Chart) return;
  TSaveDialog dialog(nullptr);
  const std::string ext = GrafChartExtension;
  dialog.Filter = "GrafChart Pro files (*." + ext + ")|*." + ext;
  dialog.Options = {ofOverwritePrompt, ofHideReadOnly};
  TStringList formats(true);  // owns the format objects
  FillPictureFormats(&dialog, Chart, &formats);
  dialog.DefaultExt = ext;
  if (!dialog.Execute()) return;
  if (dialog.FilterIndex == 1) {
    WriteChartFile(Chart, dialog.FileName, true, false);
  } else {
    for (int i = 0; i < formats.Count(); ++i) {
      auto* format = static_cast<TGrafExportFormat*>(formats.Objects(i));
      if (format->OwnsFilterIndex(dialog.FilterIndex)) {
        SavePictureFile(format, dialog.FileName);
        break;
      }
    }
  }
  FileName = dialog.FileName;
}

// ---- Start-up -------------------------------------------------------------------------------

void RegisterChartImageClasses() {
  TPicture::RegisterFileFormat(GrafChartExtension, "GrafChart", [] { return std::make_unique<TChartImage>(); });
}

void UnregisterChartImageClasses() { TPicture::UnregisterFileFormat(GrafChartExtension); }
