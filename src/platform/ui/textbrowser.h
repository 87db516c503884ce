// A read-only view of an HTML page (the subset a rich text view lays out:
// paragraphs, headings, lists, tables, emphasis). Links are shown, not
// followed, and nothing is loaded from elsewhere (no pictures, no styles).
#pragma once

#include <string>

#include "platform/ui/richedit.h"

class TTextBrowser : public TRichEdit {
  ZV_CLASS(TTextBrowser)
public:
  explicit TTextBrowser(TComponent* AOwner);
  const std::string& HTML() const { return FHTML; }
  void SetHTML(const std::string& html);
  // The text as shown, without the markup.
  std::string ShownText() const;

protected:
  void CreateWnd() override;

private:
  void Apply();
  std::string FHTML;
};
