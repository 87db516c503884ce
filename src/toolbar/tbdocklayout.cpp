#include "toolbar/tbdocklayout.h"

#include <algorithm>

namespace {

struct TLayoutItem {
  TTBRowLayoutWindow* Window = nullptr;
  int Row = 0;
  int PlacedRow = -1;
  int Gap = 0;
  int FullLength = 0;
  int MinLength = 0;
  int Length = 0;
  int Overlap = 0;
  int Position = 0;
  TTBShrinkMode Mode = tbsmNone;
  bool Resized = false;
};

void ShiftRow(TLayoutItem& It, int Delta) {
  It.Row += Delta;
  if (It.PlacedRow != -1) It.PlacedRow += Delta;
}

// Nearest item after (or before) Start in Row; Start == size going backwards
// gives the row's last item.
int NextInRow(const std::vector<TLayoutItem>& Items, bool Forward, int Row, int Start) {
  const int N = static_cast<int>(Items.size());
  if (Forward) {
    for (int I = Start + 1; I < N; ++I)
      if (Items[I].PlacedRow == Row) return I;
  } else {
    for (int I = std::min(Start, N) - 1; I >= 0; --I)
      if (Items[I].PlacedRow == Row) return I;
  }
  return -1;
}

int TakeFromGaps(std::vector<TLayoutItem>& Items, int Row, int Last, int Limit) {
  int Excess = -Limit;
  for (int I = 0; I <= Last; ++I)
    if (Items[I].PlacedRow == Row) Excess += Items[I].Gap + Items[I].Length;
  int Taken = 0;
  for (int I = Last; I >= 0 && Excess > 0; --I) {
    if (Items[I].PlacedRow != Row) continue;
    const int T = std::min(Items[I].Gap, Excess);
    Items[I].Gap -= T;
    Excess -= T;
    Taken += T;
  }
  return Taken;
}

int LengthOf(TPoint P, bool Vertical) { return Vertical ? P.Y : P.X; }
int CrossOf(TPoint P, bool Vertical) { return Vertical ? P.X : P.Y; }

}  // namespace

TRect ResizeKeepingEdge(const TRect& B, TAlign Align, int Width, int Height) {
  switch (Align) {
    case alBottom:
      return Rect(B.Left, B.Top + B.Height() - Height, B.Left + Width, B.Top + B.Height());
    case alRight:
      return Rect(B.Left + B.Width() - Width, B.Top, B.Left + B.Width(), B.Top + Height);
    case alClient:
    case alCustom:
      return B;
    default:
      return Rect(B.Left, B.Top, B.Left + Width, B.Top + Height);
  }
}

int DockHighestRow(const std::vector<TTBRowLayoutWindow*>& DockList, bool Computed) {
  int Result = -1;
  for (const auto* W : DockList) Result = std::max(Result, Computed ? W->ComputedRow : W->DockRow);
  return Result;
}

TTBRowLayoutResult ArrangeDockRows(TTBRowLayoutDock& Dock, std::vector<TTBRowLayoutWindow*>& DockList,
                                   std::vector<TTBRowLayoutWindow*>& VisibleList) {
  TTBRowLayoutResult Result;
  const bool Vertical = IsVerticalDockPosition(Dock.Position);
  const TRect& B = Dock.Bounds;
  const bool Commit = Dock.Commit;
  Dock.Commit = false;

  const bool AnyVisible =
      std::any_of(DockList.begin(), DockList.end(), [](TTBRowLayoutWindow* W) { return W->IsVisibleChild(); });
  if (!AnyVisible) {
    const int Thick = Dock.DesignTime ? 9 : (Dock.FixAlign ? 1 : 0);
    Result.NewBounds = Vertical ? ResizeKeepingEdge(B, Dock.Align, Thick, B.Height())
                                : ResizeKeepingEdge(B, Dock.Align, B.Width(), Thick);
    return Result;
  }

  for (int I = static_cast<int>(DockList.size()) - 1; I >= 0; --I) {
    TTBRowLayoutWindow* W = DockList[I];
    if (!W->IsBeingDestroyed()) continue;
    DockList.erase(DockList.begin() + I);
    VisibleList.erase(std::remove(VisibleList.begin(), VisibleList.end(), W), VisibleList.end());
  }

  if (Dock.LimitToOneRow)
    for (auto* W : DockList) W->DockRow = 0;

  // Ties keep their dock-list order, so the same input always gives the same
  // layout.
  auto ByRowAndPos = [](TTBRowLayoutWindow* A, TTBRowLayoutWindow* C) {
    if (A->DockRow != C->DockRow) return A->DockRow < C->DockRow;
    return A->DockPos < C->DockPos;
  };
  std::vector<TTBRowLayoutWindow*> Sorted = DockList;
  int DraggedIndex = -1;
  for (int I = 0; I < static_cast<int>(DockList.size()); ++I)
    if (DockList[I]->Dragged) {
      DraggedIndex = I;
      break;
    }
  std::stable_sort(Sorted.begin(), Sorted.end(), ByRowAndPos);
  if (DraggedIndex >= 0 && DockList[DraggedIndex]->SlideMode) {
    // A sliding window keeps its order among its neighbours.
    TTBRowLayoutWindow* D = DockList[DraggedIndex];
    Sorted.erase(std::find(Sorted.begin(), Sorted.end(), D));
    Sorted.insert(Sorted.begin() + DraggedIndex, D);
  }
  std::stable_sort(VisibleList.begin(), VisibleList.end(), ByRowAndPos);

  int Highest = DockHighestRow(Sorted, false);
  std::vector<TLayoutItem> Items(Sorted.size());
  const int N = static_cast<int>(Items.size());
  for (int I = 0; I < N; ++I) {
    Items[I].Window = Sorted[I];
    Items[I].Row = Sorted[I]->DockRow;
    Items[I].PlacedRow = Sorted[I]->IsVisibleChild() ? Sorted[I]->DockRow : -1;
    Items[I].Position = Sorted[I]->DockPos;
  }

  // Windows asking for a row of their own: first new rows from a drag, then
  // full-size windows.
  for (int Pass = 0; Pass < 2; ++Pass) {
    if (Pass == 0 && Dock.LimitToOneRow) continue;
    for (int J = 0; J <= Highest; ++J)
      for (int I = 0; I < N; ++I) {
        if (Items[I].Row != J) continue;
        if (!(Pass == 0 ? Items[I].Window->NewRow : Items[I].Window->FullSize)) continue;
        bool Others = false;
        for (int K = 0; K < N; ++K)
          if (K != I && Items[K].Row == J) Others = true;
        if (!Others) continue;
        for (int K = 0; K < N; ++K)
          if (K != I && Items[K].Row >= J) ShiftRow(Items[K], 1);
        ++Highest;
      }
  }

  // Empty rows vanish; a window that only keeps its place holds its row.
  for (int J = 0; J <= Highest;) {
    bool Used = std::any_of(Items.begin(), Items.end(), [J](const TLayoutItem& It) { return It.Row == J; });
    if (Used) {
      ++J;
      continue;
    }
    for (auto& It : Items)
      if (It.Row > J) ShiftRow(It, -1);
    --Highest;
  }

  const int Avail = std::max(0, Vertical ? B.Height() - Dock.BorderHeight : B.Width() - Dock.BorderWidth);

  for (int J = 0; J <= Highest; ++J) {
    // Measure, and wrap what does not fit.
    int Total = 0, Count = 0, Needed = 0;
    for (int I = 0; I < N; ++I) {
      TLayoutItem& It = Items[I];
      if (It.PlacedRow != J) continue;
      TTBRowLayoutWindow* W = It.Window;
      It.FullLength = LengthOf(W->DockedNCSize(), Vertical) + LengthOf(W->BaseSize(), Vertical);
      It.Length = It.FullLength;
      It.Mode = W->ShrinkMode();
      It.MinLength = std::min(std::max(0, W->MinimumLength()), It.FullLength);
      Needed += It.Mode == tbsmChevron ? It.MinLength : It.FullLength;
      if (Count == 0 || Needed <= Avail || Dock.LimitToOneRow) {
        Total += It.FullLength;
        ++Count;
      } else {
        for (int K = I; K < N; ++K)
          if (Items[K].Row >= J) ShiftRow(Items[K], 1);
        ++Highest;
        break;
      }
    }
    int Over = Total - Avail;

    // Wanted positions.
    int Cursor = 0, PrevEnd = 0, MinSum = 0, DraggedWanted = 0, DraggedItem = -1;
    for (int I = 0; I < N; ++I) {
      TLayoutItem& It = Items[I];
      if (It.PlacedRow != J) continue;
      TTBRowLayoutWindow* W = It.Window;
      int Wanted = (Cursor == 0 && (W->FullSize || W->Stretch)) ? 0 : W->DockPos;
      if (W->Dragged) {
        DraggedWanted = Wanted;
        DraggedItem = I;
      }
      Wanted = std::max(Wanted, MinSum);
      if (Wanted > Cursor) {
        if (Over > 0)
          Wanted = Cursor;
        else {
          It.Gap = Wanted - Cursor;
          Cursor = Wanted;
        }
      } else if (Wanted < PrevEnd) {
        It.Overlap = PrevEnd - Wanted;
      }
      Cursor += It.Length;
      PrevEnd = Wanted + It.Length;
      MinSum += It.MinLength;
    }

    // On spare room a dragged window pushes the windows before it.
    if (Over < 0 && DraggedItem >= 0) {
      const int Prev = NextInRow(Items, false, J, DraggedItem);
      if (Prev >= 0) {
        const int Taken = TakeFromGaps(Items, J, Prev, DraggedWanted);
        const int Next = NextInRow(Items, true, J, DraggedItem);
        if (Next >= 0) Items[Next].Gap += Taken;
      }
    }
    const int Last = NextInRow(Items, false, J, N);
    if (Last >= 0) TakeFromGaps(Items, J, Last, Avail);

    int RowCount = 0;
    for (const auto& It : Items)
      if (It.PlacedRow == J) ++RowCount;

    // Shrink windows the following ones overlap.
    if (Over > 0) {
      int Pending = 0;
      for (int I = 0; I < N; ++I) {
        TLayoutItem& It = Items[I];
        if (It.PlacedRow != J) continue;
        if (It.Window->Dragged && RowCount > 1) It.Window->Crowded = true;
        Pending = std::min(Pending + It.Overlap, Over);
        for (int K = I - 1; K >= 0 && Pending > 0; --K) {
          TLayoutItem& P = Items[K];
          if (P.PlacedRow != J) continue;
          if (P.Mode == tbsmChevron) {
            const int Gift = std::min(Pending, P.Length - P.MinLength);
            if (Gift > 0) {
              P.Length -= Gift;
              Over -= Gift;
              Pending -= Gift;
            }
          }
          if (P.Window->Dragged) break;
        }
      }
    }

    // Shrink from the end of the row.
    for (int I = N - 1; I >= 0 && Over > 0; --I) {
      TLayoutItem& It = Items[I];
      if (It.PlacedRow != J || It.Mode == tbsmNone || (It.Mode == tbsmWrap && RowCount > 1)) continue;
      const int Gift = std::min(It.Length - It.MinLength, Over);
      if (Gift > 0) {
        It.Length -= Gift;
        Over -= Gift;
      }
    }

    // Final positions.
    Cursor = 0;
    for (int I = 0; I < N; ++I) {
      TLayoutItem& It = Items[I];
      if (It.PlacedRow != J) continue;
      TTBRowLayoutWindow* W = It.Window;
      if (W->FullSize || W->Stretch) {
        It.Length += It.Gap;
        It.Gap = 0;
      }
      Cursor += It.Gap;
      if (W->FullSize) It.Length = std::max(It.Length, Avail);
      if (W->Stretch) {
        const int Next = NextInRow(Items, true, J, I);
        if (Next >= 0) {
          It.Length += Items[Next].Gap;
          Items[Next].Gap = 0;
        } else {
          It.Length = std::max(It.Length, Avail - Cursor);
        }
      }
      It.Position = Cursor;
      Cursor += It.Length;
    }
  }

  for (auto& It : Items) {
    It.Window->ComputedRow = It.Row;
    It.Window->ComputedPos = It.Position;
    if (Commit) {
      It.Window->DockRow = It.Row;
      It.Window->DockPos = It.Position;
    }
  }
  if (Commit) DockList = Sorted;

  int Offset = 0;
  for (int J = 0; J <= Highest; ++J) {
    int Thickness = 0;
    for (auto& It : Items) {
      if (It.PlacedRow != J) continue;
      TTBRowLayoutWindow* W = It.Window;
      const int OldShrunk = W->ShrunkLength;
      W->ShrunkLength = It.Length < It.FullLength ? It.Length : 0;
      TPoint Size;
      if (It.Mode != tbsmNone && W->ShrunkLength != OldShrunk) {
        Size = W->SizeForShrunkLength(W->ShrunkLength, Vertical);
        It.Resized = true;
      } else if (It.Mode == tbsmWrap && It.Length < It.FullLength) {
        Size = W->PresentClientSize();
      } else {
        Size = W->BaseSize();
      }
      W->CrossSize = CrossOf(Size, Vertical);
      Thickness = std::max(Thickness, W->CrossSize);
    }
    // The docked frame is two pixels on each side.
    if (Thickness > 0) Thickness += 4;
    for (auto& It : Items) {
      if (It.PlacedRow != J) continue;
      const TRect R = Vertical ? Rect(Offset, It.Position, Offset + Thickness, It.Position + It.Length)
                               : Rect(It.Position, Offset, It.Position + It.Length, Offset + Thickness);
      It.Window->PlaceInDock(R, It.Resized);
    }
    Offset += Thickness;
  }

  Result.HighestRow = Highest;
  Result.NewBounds = Vertical ? ResizeKeepingEdge(B, Dock.Align, Dock.BorderWidth + Offset, B.Height())
                              : ResizeKeepingEdge(B, Dock.Align, B.Width(), Dock.BorderHeight + Offset);
  return Result;
}
