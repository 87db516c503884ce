// A label that opens its target with the desktop when clicked: a prefix by
// the link type followed by the hyperlink text, after a warning when Alert
// is on. Only web and mail links are handed to the desktop.
#pragma once

#include <string>

#include "platform/ui/stdctrls.h"

enum tLinkType { ltfile, ltftp, ltgopher, lthttp, lthttps, ltmailto, ltnews, lttelnet, ltwais, ltNone };

// The prefix a link type puts before the hyperlink ("" for ltNone).
std::string LinkPrefix(tLinkType Type);
// Whether a target may be handed to the desktop: an http, https or mailto link.
bool LinkOpensOnDesktop(const std::string& Target);

class TLinkLabel : public TLabel {
  ZV_CLASS(TLinkLabel)
public:
  // The owner must be a form (EInvalidCast otherwise); it becomes the parent.
  explicit TLinkLabel(TComponent* AOwner);

  tLinkType LinkType() const { return FLinkType; }
  void SetLinkType(tLinkType v) { FLinkType = v; }
  const std::string& HyperLink() const { return FHyperLink; }
  // Also the caption while the caption is empty.
  void SetHyperLink(const std::string& v);
  bool Alert() const { return FAlert; }
  void SetAlert(bool v) { FAlert = v; }
  // The prefix and the hyperlink.
  std::string Target() const { return LinkPrefix(FLinkType) + FHyperLink; }
  // Asks (with Alert) and hands the target to the desktop; true when opened.
  bool OpenLink();

protected:
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
  tLinkType FLinkType = lthttp;
  std::string FHyperLink;
  bool FAlert = true;
};
