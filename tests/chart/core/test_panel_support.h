// A chart panel for the panel, output and shape tests: it draws through a
// recording canvas and lets each test supply the chart contents.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "chart/core/grafpanel.h"
#include "chart/core/recordingcanvas.h"

class TTestPanel : public TCustomGrafPanelExtended {
public:
  explicit TTestPanel(TComponent* owner = nullptr, bool recording = true) : TCustomGrafPanelExtended(owner) {
    if (recording) {
      auto canvas = std::make_unique<TRecordingCanvas>(Width(), Height());
      Rec = canvas.get();
      ReplaceCanvas(std::move(canvas));
      Rec->Clear();
    }
  }

  void DrawChartContents(const TRect& bounds) override {
    ++Passes;
    ContentsBounds = bounds;
    if (Contents) Contents(bounds);
  }

  // A pass onto the recording canvas's own surface over the whole panel.
  void Pass() { DrawOnCanvas(Rec->Surface()->Canvas(), Rect(0, 0, Width(), Height())); }

  TRecordingCanvas* Rec = nullptr;
  int Passes = 0;
  TRect ContentsBounds;
  std::function<void(const TRect&)> Contents;
};

// The calls made from outside the canvas as "Op(a,b,...)" with whole-number
// arguments (colours as signed 32-bit values).
inline std::vector<std::string> IntLog(const TRecordingCanvas& canvas) {
  std::vector<std::string> log;
  for (const TCanvasCall& c : canvas.CallsAt(0)) {
    std::string s = c.Op + "(";
    for (size_t i = 0; i < c.Args.size(); ++i) s += (i ? "," : "") + std::to_string(static_cast<long long>(c.Args[i]));
    if (!c.Text.empty()) s += (c.Args.empty() ? "\"" : ",\"") + c.Text + "\"";
    log.push_back(s + ")");
  }
  return log;
}

// A listener that counts what it hears and may act on each event.
class TTestListener : public IPanelEventListener {
public:
  void HandlePanelEvent(TGrafEvent* event) override {
    ++Count;
    Last = event;
    if (dynamic_cast<TGrafView3DEvent*>(event)) ++View3DEvents;
    if (auto* m = dynamic_cast<TGrafMouseEvent*>(event)) {
      ++MouseEvents;
      LastKind = m->Kind;
    }
    if (OnEvent) OnEvent(event);
  }
  int Count = 0;
  int View3DEvents = 0;
  int MouseEvents = 0;
  TGrafMouseEventKind LastKind = pmeDown;
  TGrafEvent* Last = nullptr;
  std::function<void(TGrafEvent*)> OnEvent;
};
