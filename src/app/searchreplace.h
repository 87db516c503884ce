// A non-visual component that gives a memo or rich edit the Find and Replace
// dialogs: it opens them, searches the text forwards or backwards, with or
// without matching case and whole words, selects each match, replaces one
// match or all of them, and reports a search that found nothing.
#pragma once

#include <string>

#include "platform/ui/commondialogs.h"
#include "platform/ui/richedit.h"

class TSearchAndReplace : public TComponent {
  ZV_CLASS(TSearchAndReplace)
public:
  explicit TSearchAndReplace(TComponent* AOwner);
  ~TSearchAndReplace() override;

  TMemo* Memo() const { return FMemo; }
  void SetMemo(TMemo* v);
  // The failure message; %s receives the search text.
  const std::string& NotFound() const { return FNotFound; }
  void SetNotFound(const std::string& v) { FNotFound = v; }

  // Open the dialogs (not modally), proposing the selected text.
  void Find();
  void Replace();
  // Searches once with the dialog's text and options from the control's
  // selection; true when a match was found and selected.
  bool FindInMemo(TMemo* memo, TFindDialog* dialog);

  // After a search from the dialogs moved the selection (a match selected,
  // or replaced), so that a read-out of the caret can follow it.
  TNotifyEvent OnMoved;

  TFindDialog* FindDialog() const { return FFindDialog; }
  TReplaceDialog* ReplaceDialog() const { return FReplaceDialog; }

  // Position of the first match of what in text, searching from the
  // selection (start, length) as the dialogs do: downwards from its end,
  // upwards from before its start; -1 when there is none. Whole words are
  // bounded by characters that are not letters or digits, or the text's
  // ends. Case is compared as given.
  static int SearchText(const std::u16string& text, int selStart, int selLength, const std::u16string& what,
                        bool down, bool wholeWord);

  // The text with every match replaced, searching on after each inserted
  // replacement as Replace All does; count receives the number replaced.
  static std::u16string ReplaceAllIn(const std::u16string& text, const std::u16string& what,
                                     const std::u16string& with, bool matchCase, bool wholeWord, int& count);

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  void OpenDialog(TFindDialog* dialog);
  void FindHandler(TObject* Sender);
  void ReplaceHandler(TObject* Sender);
  bool SelectionMatches(TFindDialog* dialog) const;
  void ReportNotFound(const std::string& what);

  TMemo* FMemo = nullptr;
  std::string FNotFound = "\"%s\" was not found in text";
  TFindDialog* FFindDialog;
  TReplaceDialog* FReplaceDialog;
};
