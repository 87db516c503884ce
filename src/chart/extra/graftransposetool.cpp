#include "chart/extra/graftransposetool.h"

#include <memory>

#include "chart/core/grafconst.h"
#include "chart/series/grafsurfa.h"

ZV_CLASS_IMPL(TGridTransposeTool, TGrafCustomTool)

void TGridTransposeTool::DeclareProperties(TClassInfo& c) {
  using T = TGridTransposeTool;
  c.Object<T, TCustom3DGridSeries>("Series", &T::Series, &T::SetSeries);
}

TGridTransposeTool::TGridTransposeTool(TComponent* AOwner) : TGrafCustomTool(AOwner) {}

TGridTransposeTool::~TGridTransposeTool() {
  SetSeries(nullptr);
  if (FParentChart) SetParentChart(nullptr);
}

std::string TGridTransposeTool::ToolTypeName() const { return GrafMsgEx3DGridTranspose; }

// The series is watched: a freed series is forgotten, not transposed later.
void TGridTransposeTool::SetSeries(TCustom3DGridSeries* Value) {
  if (FSeries == Value) return;
  if (FSeries) FSeries->RemoveFreeNotification(this);
  FSeries = Value;
  if (FSeries) FSeries->FreeNotification(this);
}

void TGridTransposeTool::Notification(TComponent* AComponent, TOperation Operation) {
  TGrafCustomTool::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FSeries) FSeries = nullptr;
}

void TGridTransposeTool::Transpose() {
  if (!Active() || !FSeries) return;
  auto swapped = std::make_unique<TCustom3DGridSeries>(nullptr);
  const int n = FSeries->PointCount();
  for (int i = 0; i < n; ++i)
    swapped->AddPoint3D(FSeries->ZValueAt(i), FSeries->YValues()->GetValue(i), FSeries->XValues()->GetValue(i));
  FSeries->LoadValuesFrom(swapped.get());
}
