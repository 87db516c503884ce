// Controls: TControl (bounds, alignment, anchors, visibility, colour, font,
// caption, hint, cursor, mouse events), TWinControl (a window: focus, keys,
// child controls), TCustomControl (paints through its Canvas into a retained
// raster surface that the window shows; the canvas stays valid outside the
// paint cycle) and TGraphicControl (no window; paints on its parent's surface).
//
// A window with csParentBackground in its ControlStyle (and a parent) shows
// its parent wherever it leaves its surface unpainted: erasing its
// background clears the surface instead of filling it with Color.
//
// Input reaches a control as the class library's messages, translated from
// the window system's events in the class library's order, through
// WindowProc -> WndProc -> Dispatch -> the handler of that message (virtual
// methods named after it) -> DefaultHandler. Tests may Perform messages
// directly. An exception never leaves an event of the window system: it goes
// to Application->HandleException.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/gfx/graphics.h"
#include "platform/ui/classes.h"
#include "platform/ui/messages.h"
#include "platform/ui/uitypes.h"

class TWinControl;
class TCustomForm;
class TPopupMenu;
struct TWinControlImpl;

enum TControlStyleItem {
  csAcceptsControls, csCaptureMouse, csDesignInteractive, csClickEvents, csFramed, csSetCaption, csOpaque,
  csDoubleClicks, csFixedWidth, csFixedHeight, csNoDesignVisible, csReplicatable, csNoStdEvents, csDisplayDragImage,
  csReflector, csActionClient, csMenuEvents, csNeedsBorderPaint, csParentBackground
};
using TControlStyle = TEnumSet<TControlStyleItem>;
enum TControlStateItem {
  csLButtonDown, csClicked, csPalette, csReadingState, csAlignmentNeeded, csFocusing, csCreating, csPaintCopy,
  csCustomPaint, csDestroyingHandle, csDocking
};
using TControlState = TEnumSet<TControlStateItem>;

// Control bounds read from a stream are clamped to +-kMaxStreamedBound
// (sizes to 0..kMaxStreamedBound), far beyond any screen.
constexpr int kMaxStreamedBound = 1 << 20;

class TControl : public TComponent {
  ZV_CLASS(TControl)
public:
  explicit TControl(TComponent* AOwner);
  ~TControl() override;

  // ---- messages
  // The hookable window procedure; WndProc by default.
  std::function<void(TMessage& Message)> WindowProc;
  virtual void WndProc(TMessage& Message);
  virtual void Dispatch(TMessage& Message);
  virtual void DefaultHandler(TMessage& Message);
  LRESULT Perform(unsigned Msg, WPARAM WParam, LPARAM LParam);

  // ---- parent and geometry
  TWinControl* Parent() const { return FParent; }
  virtual void SetParent(TWinControl* AParent);
  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* Value) override;
  int Left() const { return FLeft; }
  int Top() const { return FTop; }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  void SetLeft(int v) { SetBounds(v, FTop, FWidth, FHeight); }
  void SetTop(int v) { SetBounds(FLeft, v, FWidth, FHeight); }
  void SetWidth(int v) { SetBounds(FLeft, FTop, v, FHeight); }
  void SetHeight(int v) { SetBounds(FLeft, FTop, FWidth, v); }
  virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
  // Scales the control (a window: itself and its children) by M / D: place
  // and size, and the font unless it is the parent's. A form keeps its place
  // on the screen and scales its client area.
  void ScaleBy(int M, int D);
  virtual void ChangeScale(int M, int D);
  TRect BoundsRect() const { return Rect(FLeft, FTop, FLeft + FWidth, FTop + FHeight); }
  void SetBoundsRect(const TRect& r) { SetBounds(r.Left, r.Top, r.Width(), r.Height()); }
  virtual TRect ClientRect() const { return Rect(0, 0, FWidth, FHeight); }
  int ClientWidth() const { return ClientRect().Width(); }
  int ClientHeight() const { return ClientRect().Height(); }
  void SetClientWidth(int v) { SetWidth(FWidth - ClientWidth() + v); }
  void SetClientHeight(int v) { SetHeight(FHeight - ClientHeight() + v); }
  // Screen position of the client origin.
  virtual TPoint ClientOrigin() const;
  TPoint ClientToScreen(TPoint p) const;
  TPoint ScreenToClient(TPoint p) const;
  TAlign Align() const { return FAlign; }
  void SetAlign(TAlign v);
  TAnchors Anchors() const { return FAnchors; }
  void SetAnchors(TAnchors v);

  // ---- appearance and state
  bool Visible() const { return FVisible; }
  void SetVisible(bool v);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // Visible and on a showing parent (a form counts when shown).
  virtual bool Showing() const;
  bool Enabled() const { return FEnabled; }
  virtual void SetEnabled(bool v);
  TColor Color() const { return FColor; }
  void SetColor(TColor v);
  bool ParentColor() const { return FParentColor; }
  void SetParentColor(bool v);
  TFont* Font() const { return FFont.get(); }
  void SetFont(const TFont* v) { FFont->Assign(v); }
  bool ParentFont() const { return FParentFont; }
  void SetParentFont(bool v);
  // Caption and Text are the same string.
  const std::string& Caption() const { return FText; }
  void SetCaption(const std::string& v) { SetText(v); }
  const std::string& Text() const { return FText; }
  virtual void SetText(const std::string& v);
  const std::string& Hint() const { return FHint; }
  void SetHint(const std::string& v) { FHint = v; }
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool v);
  bool ParentShowHint() const { return FParentShowHint; }
  void SetParentShowHint(bool v);
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor v);
  TPopupMenu* PopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(TPopupMenu* v);
  TControlStyle ControlStyle() const { return FControlStyle; }
  void SetControlStyle(TControlStyle v);
  TControlState ControlState() const { return FControlState; }
  void SetControlState(TControlState v) { FControlState = v; }
  bool MouseCapture() const;
  void SetMouseCapture(bool v);
  bool IsMouseInside() const { return FMouseInside; }

  virtual void Invalidate();
  virtual void Update();
  virtual void Repaint();
  void Refresh() { Repaint(); }
  void BringToFront();
  void SendToBack();
  TCustomForm* GetParentForm() const;

  // ---- events
  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TNotifyEvent OnResize;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TMouseWheelEvent OnMouseWheel;
  TMouseWheelUpDownEvent OnMouseWheelDown;
  TMouseWheelUpDownEvent OnMouseWheelUp;
  TContextPopupEvent OnContextPopup;

  // ---- dragging within the program
  // dmAutomatic: a left press starts a drag that begins once the mouse moved.
  TDragMode DragMode() const { return FDragMode; }
  void SetDragMode(TDragMode v) { FDragMode = v; }
  // Starts dragging this control: at once, or once the mouse has moved more
  // than Threshold pixels (-1: 5) with the button held.
  void BeginDrag(bool Immediate, int Threshold = -1);
  // Ends the drag: with Drop, on the control under the mouse when it
  // accepts; then OnEndDrag with that control or nil.
  void EndDrag(bool Drop);
  bool Dragging() const;
  // Asked while Source is dragged over this control (client coordinates):
  // Accept starts true exactly when OnDragOver is set, which may change it.
  virtual void DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept);
  virtual void DragDrop(TObject* Source, int X, int Y);
  virtual void DoStartDrag();
  virtual void DoEndDrag(TObject* Target, int X, int Y);
  TDragOverEvent OnDragOver;
  TDragDropEvent OnDragDrop;
  TEndDragEvent OnEndDrag;
  TNotifyEvent OnStartDrag;

  // Dynamic methods the class library exposes to descendants and tools.
  virtual void Click();
  virtual void DblClick();
  virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void MouseMove(TShiftState Shift, int X, int Y);
  virtual bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos);
  virtual bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos);
  virtual bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos);
  virtual void Resize();

protected:
  friend class TWinControl;
  friend struct TWinControlImpl;
  // Message handlers.
  virtual void WMLButtonDown(TMessage& M);
  virtual void WMLButtonUp(TMessage& M);
  virtual void WMLButtonDblClk(TMessage& M);
  virtual void WMRButtonDown(TMessage& M);
  virtual void WMRButtonUp(TMessage& M);
  virtual void WMRButtonDblClk(TMessage& M);
  virtual void WMMButtonDown(TMessage& M);
  virtual void WMMButtonUp(TMessage& M);
  virtual void WMMButtonDblClk(TMessage& M);
  virtual void WMMouseMove(TMessage& M);
  virtual void WMMouseWheel(TMessage& M);
  virtual void WMCancelMode(TMessage& M);
  virtual void WMCaptureChanged(TMessage& M);
  virtual void WMContextMenu(TMessage& M);
  virtual void CMMouseEnter(TMessage& M);
  virtual void CMMouseLeave(TMessage& M);
  virtual void CMEnabledChanged(TMessage& M);
  virtual void CMVisibleChanged(TMessage& M);
  virtual void CMColorChanged(TMessage& M);
  virtual void CMFontChanged(TMessage& M);
  virtual void CMTextChanged(TMessage& M);
  virtual void CMParentColorChanged(TMessage& M);
  virtual void CMParentFontChanged(TMessage& M);
  virtual void CMParentShowHintChanged(TMessage& M);
  virtual void CMHitTest(TMessage& M);
  virtual void CMCursorChanged(TMessage& M);
  virtual void CMSysColorChange(TMessage& M);

  virtual void Changed();
  virtual void FontChanged();
  virtual void VisibleChanging() {}
  // Geometry changed (from code or the window system): moves the window,
  // realigns children, fires Resize when the size changed.
  virtual void BoundsChanged(bool sizeChanged);
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // Sends the message to the parent's children (CM_PARENTxxxCHANGED).
  void SendToChildren(unsigned Msg);
  virtual bool IsGraphic() const { return true; }

  TDragMode FDragMode = dmManual;
  TControlStyle FControlStyle = {csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  TControlState FControlState;
  TWinControl* FParent = nullptr;
  int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
  // Distances kept by the anchors: right and bottom margins at the last
  // anchoring, and the parent's client size then.
  int FAnchorRight = -1, FAnchorBottom = -1;
  TAlign FAlign = alNone;
  TAnchors FAnchors = {akLeft, akTop};
  bool FVisible = true;
  bool FEnabled = true;
  TColor FColor = clWindow;
  bool FParentColor = true;
  std::unique_ptr<TFont> FFont;
  bool FParentFont = true;
  std::string FText;
  std::string FHint;
  bool FShowHint = false;
  bool FParentShowHint = true;
  TCursor FCursor = crDefault;
  TPopupMenu* FPopupMenu = nullptr;
  bool FMouseInside = false;
  int FWheelAccumulator = 0;

private:
  void DoMouseDown(TMessage& M, TMouseButton Button, TShiftState Shift);
  void DoMouseUp(TMessage& M, TMouseButton Button);
  void UpdateAnchorRules();
};

// A control with a window: focus, keyboard, child controls.
class TWinControl : public TControl {
  ZV_CLASS(TWinControl)
public:
  explicit TWinControl(TComponent* AOwner);
  ~TWinControl() override;

  int ControlCount() const { return static_cast<int>(FControls.size()); }
  // The children first, then the window itself.
  void ChangeScale(int M, int D) override;
  TControl* Controls(int Index) const;
  void InsertControl(TControl* AControl);
  void RemoveControl(TControl* AControl);
  bool ContainsControl(TControl* Control) const;
  // The child control (window or not) at a client point; nil when none.
  TControl* ControlAtPos(TPoint Pos, bool AllowDisabled, bool AllowWinControls = false) const;
  // Where the children's coordinates start in this window: the corner of the
  // window unless it keeps a frame of its own around children placed as on a
  // design surface (their Left and Top then count from the client area).
  virtual TPoint ChildOrigin() const { return {0, 0}; }
  // Moves the children's windows after ChildOrigin changed (cheap otherwise).
  void ChildOriginChanged();
  TControl* FindChildControl(const std::string& ControlName) const;
  void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;
  void SetChildOrder(TComponent* Child, int Order) override;

  HWND Handle();  // creates the window when needed
  bool HandleAllocated() const;
  void HandleNeeded() { Handle(); }
  // Reorders the children's windows and lays out aligned children (the
  // client area in the children's coordinates).
  void Realign();
  virtual void AlignControls(TControl* AControl, TRect Rect);

  bool CanFocus() const;
  virtual bool Focused() const;
  virtual void SetFocus();
  // Moves the focus from the control inside this one that holds it to the
  // next (previous) control of its window that Tab stops at; false when
  // nothing inside holds the focus or no other control takes it.
  bool FocusNextControl(bool Forward);
  int TabOrder() const { return FTabOrder; }
  void SetTabOrder(int v);
  bool TabStop() const { return FTabStop; }
  void SetTabStop(bool v) { FTabStop = v; }
  bool DoubleBuffered() const { return FDoubleBuffered; }
  void SetDoubleBuffered(bool v) { FDoubleBuffered = v; }

  void Invalidate() override;
  void Update() override;
  void Repaint() override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  bool Showing() const override;
  void SetParent(TWinControl* AParent) override;
  TPoint ClientOrigin() const override;

  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;
  TKeyEvent OnKeyDown;
  TKeyEvent OnKeyUp;
  TKeyPressEvent OnKeyPress;

  // Key handling the class library exposes (answer true when the key was
  // consumed by an event handler).
  virtual void KeyDown(uint16_t& Key, TShiftState Shift);
  virtual void KeyUp(uint16_t& Key, TShiftState Shift);
  virtual void KeyPress(char& Key);
  // The private window-system side; only the layer's .cpp files use it.
  TWinControlImpl* Impl() const { return FImpl.get(); }
  // Paints into the surface when something invalidated it.
  void PaintNow();

protected:
  friend class TControl;
  friend struct TWinControlImpl;
  void Dispatch(TMessage& Message) override;
  void DefaultHandler(TMessage& Message) override;
  virtual void WMPaint(TMessage& M);
  virtual void WMSize(TMessage& M);
  virtual void WMSetFocus(TMessage& M);
  virtual void WMKillFocus(TMessage& M);
  virtual void WMKeyDown(TMessage& M);
  virtual void WMKeyUp(TMessage& M);
  virtual void WMChar(TMessage& M);
  virtual void WMGetDlgCode(TMessage& M);
  virtual void WMEraseBkgnd(TMessage& M);
  // Sent before every mouse move over the window (LParam: the screen
  // point); HTCLIENT by default.
  virtual void WMNCHitTest(TMessage& M);
  // Sent after WM_NCHITTEST (WParam: the window's handle; LParam: the hit
  // test result and WM_MOUSEMOVE): a handler may show a cursor of its own
  // with SetCursor and answer 1; by default the window keeps its Cursor.
  virtual void WMSetCursor(TMessage& M);
  virtual void CMEnter(TMessage& M);
  virtual void CMExit(TMessage& M);
  void CMColorChanged(TMessage& M) override;
  void CMFontChanged(TMessage& M) override;
  void CMEnabledChanged(TMessage& M) override;
  void CMVisibleChanged(TMessage& M) override;
  void CMTextChanged(TMessage& M) override;
  void CMCursorChanged(TMessage& M) override;

  bool DoKeyDown(TMessage& M);
  bool DoKeyUp(TMessage& M);
  bool DoKeyPress(TMessage& M);
  // Draws the window's contents (custom-painted windows) and the graphic
  // children onto the surface.
  virtual void PaintWindow();
  // Paints over a window-system control (button, combo box, ...) each time
  // it has painted itself: a swatch on a button face, a flat frame over a
  // border. The canvas covers the control with the origin at its top-left
  // corner; whatever it leaves alone shows the control. Custom-painted
  // windows paint everything in Paint and never get this.
  virtual void PaintOverlay(TCanvas* Canvas);
  void PaintControls();
  // Creates the window-system object; descendants wrapping a native widget
  // override CreateWidget (in their .cpp, through the private header).
  void CreateHandle();
  void DestroyHandle();
  virtual void CreateWnd();
  // Whether the window shows a retained surface painted through the layer.
  virtual bool CustomPainted() const { return true; }
  bool IsGraphic() const override { return false; }
  void BoundsChanged(bool sizeChanged) override;
  void FontChanged() override;

  std::vector<TControl*> FControls;  // in z-order, bottom first
  std::unique_ptr<TWinControlImpl> FImpl;
  int FTabOrder = -1;
  bool FTabStop = false;
  bool FDoubleBuffered = false;
  TControl* FMouseControl = nullptr;  // the graphic child under the mouse
};

// A window that paints itself through Canvas.
class TCustomControl : public TWinControl {
  ZV_CLASS(TCustomControl)
public:
  explicit TCustomControl(TComponent* AOwner);
  ~TCustomControl() override;
  // Drawing on it changes the retained surface; the window shows the change
  // at the next paint of the window system (no repaint of the control).
  TCanvas* Canvas();

protected:
  virtual void Paint();
  void PaintWindow() override;
};

// A control without a window; it paints on its parent's surface.
class TGraphicControl : public TControl {
  ZV_CLASS(TGraphicControl)
public:
  explicit TGraphicControl(TComponent* AOwner);
  ~TGraphicControl() override;
  // Drawing goes to the parent's surface, clipped to the control and with
  // the origin at its top-left corner.
  TCanvas* Canvas();

protected:
  friend class TWinControl;
  friend struct TWinControlImpl;
  virtual void Paint();
  void WMPaint(TMessage& M);
  void Dispatch(TMessage& Message) override;

private:
  std::unique_ptr<TCanvas> FCanvas;
};

// The control that has the mouse captured, nil when none.
TControl* GetCaptureControl();
void SetCaptureControl(TControl* Control);
// The window control with a given handle (nil when gone).
TWinControl* FindControl(HWND Handle);
// The control being dragged within the program (nil when none), and the
// control under the mouse it was last dragged over.
TControl* DraggedControl();
// The control a drag comes from, also while it waits for the mouse to move
// past the threshold (nil when none).
TControl* DragSourceControl();
TControl* DragTargetControl();
// A control that goes leaves any drag it takes part in.
void ForgetDraggedControl(TControl* C);
// The drag of a press at a screen point, begun once the mouse has moved more
// than Threshold pixels from it (the automatic drag mode).
void BeginDragFrom(TControl* C, TPoint ScreenStart, int Threshold);
// Queues a message for a window; the application's message loop (Run,
// ProcessMessages, HandleMessage) delivers it unless the window is gone.
bool PostMessage(HWND Handle, unsigned Msg, WPARAM WParam, LPARAM LParam);
LRESULT SendMessage(HWND Handle, unsigned Msg, WPARAM WParam, LPARAM LParam);
// Gives a window a shape: only the region's pixels (window coordinates) are
// shown and take the mouse; nil makes the window rectangular again. After a
// successful call the region belongs to the window (it is freed here), as
// on the graphics device; 0 (and the region still the caller's) when there
// is no such window. Redraw repaints the window at once.
int SetWindowRgn(HWND Handle, HRGN Rgn, bool Redraw);

// System metrics (the platform's SM_ numbering) with fixed values, so that
// layouts are the same on every machine; the screen size is the real one.
constexpr int SM_CXSCREEN = 0, SM_CYSCREEN = 1, SM_CXVSCROLL = 2, SM_CYHSCROLL = 3, SM_CYCAPTION = 4,
              SM_CXBORDER = 5, SM_CYBORDER = 6, SM_CXDLGFRAME = 7, SM_CYDLGFRAME = 8, SM_CYVTHUMB = 9,
              SM_CXHTHUMB = 10, SM_CXICON = 11, SM_CYICON = 12, SM_CXCURSOR = 13, SM_CYCURSOR = 14,
              SM_CYMENU = 15, SM_CYVSCROLL = 20, SM_CXHSCROLL = 21, SM_SWAPBUTTON = 23, SM_CXSIZE = 30,
              SM_CYSIZE = 31, SM_CXFRAME = 32, SM_CYFRAME = 33, SM_CXDOUBLECLK = 36, SM_CYDOUBLECLK = 37,
              SM_CXEDGE = 45, SM_CYEDGE = 46, SM_CXSMICON = 49, SM_CYSMICON = 50, SM_CXDRAG = 68, SM_CYDRAG = 69,
              SM_MOUSEWHEELPRESENT = 75, SM_CMONITORS = 80;
int GetSystemMetrics(int Index);
// A cursor of the window system (Screen->Cursors gives one for a cursor
// number); 0 is none.
using HCURSOR = intptr_t;
HCURSOR CursorHandle(TCursor Cursor);
// Shows Cursor over the window being asked WM_SETCURSOR, for the current
// mouse position only (the next move asks again); returns the previous one.
// Outside a WM_SETCURSOR it changes the window under the mouse.
HCURSOR SetCursor(HCURSOR Cursor);
// Key and mouse-button state now: the high bit (negative result) is set
// while the key is down. Knows the shift keys and the mouse buttons.
int16_t GetKeyState(int VirtKey);
int16_t GetAsyncKeyState(int VirtKey);
TShiftState KeyboardStateToShiftState();
bool GetCursorPos(TPoint& Point);
// Moves the mouse pointer to a screen point.
bool SetCursorPos(int X, int Y);
// Time of a double click in milliseconds.
unsigned GetDoubleClickTime();

// Draws a 3D frame of Width pixels (top-left in TopColor, bottom-right in
// BottomColor) and shrinks Rect by it.
void Frame3D(TCanvas* Canvas, TRect& Rect, TColor TopColor, TColor BottomColor, int Width);
// The shift state of mouse-message key flags.
TShiftState KeysToShiftState(unsigned Keys);
TShiftState KeyDataToShiftState(LPARAM KeyData);
