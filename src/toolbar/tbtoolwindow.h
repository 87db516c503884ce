// The tool window: a dockable window that hosts any controls and keeps a
// client size of its own, within optional limits, across docking changes.
#pragma once

#include "toolbar/tbdock.h"

class TTBCustomToolWindow : public TTBCustomDockableWindow {
  ZV_CLASS(TTBCustomToolWindow)
public:
  explicit TTBCustomToolWindow(TComponent* AOwner);

  // The client size: the present one when the window has a parent, else its
  // size. Setting one keeps the other.
  int ClientAreaWidth() const;
  void SetClientAreaWidth(int V) { SetClientAreaSize(V, ClientAreaHeight()); }
  int ClientAreaHeight() const;
  void SetClientAreaHeight(int V) { SetClientAreaSize(ClientAreaWidth(), V); }
  void SetClientAreaSize(int AWidth, int AHeight);
  int MinClientWidth() const { return FMinClientWidth; }
  void SetMinClientWidth(int V) { FMinClientWidth = V; }
  int MinClientHeight() const { return FMinClientHeight; }
  void SetMinClientHeight(int V) { FMinClientHeight = V; }
  int MaxClientWidth() const { return FMaxClientWidth; }  // 0: no limit
  void SetMaxClientWidth(int V) { FMaxClientWidth = V; }
  int MaxClientHeight() const { return FMaxClientHeight; }
  void SetMaxClientHeight(int V) { FMaxClientHeight = V; }

  // The client size kept across docking changes.
  int StoredClientWidth() const { return FBarWidth; }
  int StoredClientHeight() const { return FBarHeight; }
  // The client size in a dock (nil: floating or on a form): a full-size or
  // stretching window leaves its length along the dock to the row layout.
  TPoint ClientSizeFor(TTBDock* Dock) const;
  TPoint SizeForState(bool Apply, TTBDockKind NewDockKind, bool NewFloating, TTBDock* NewDock) override;
  // The limits of a floating resize (a maximum of 0: none).
  void SizeLimits(TPoint& MinClientSize, TPoint& MaxClientSize) const;
  void SizeLimits(int& MinWidth, int& MinHeight, int& MaxWidth, int& MaxHeight) override;

  TPoint BaseSize() override { return ClientSizeFor(CurrentDock()); }
  // The hosted controls count from the client area, inside the docked frame
  // and drag handle, as where they were designed.
  TPoint ChildOrigin() const override { return ClientRect().TopLeft(); }
  void SizeChanged(int NewWidth, int NewHeight) override;
  void LoadExtraPosition(const TTBReadPositionData& Data) override;
  void SaveExtraPosition(const TTBWritePositionData& Data) override;

protected:
  void Paint() override;

private:
  // The frame between the outer size and the client area.
  TPoint FrameSize() const;

  int FBarWidth = 32, FBarHeight = 32;
  int FMinClientWidth = 32, FMinClientHeight = 32;
  int FMaxClientWidth = 0, FMaxClientHeight = 0;
};

class TTBToolWindow : public TTBCustomToolWindow {
  ZV_CLASS(TTBToolWindow)
public:
  using TTBCustomToolWindow::TTBCustomToolWindow;
};
