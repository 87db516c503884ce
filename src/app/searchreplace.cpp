#include "app/searchreplace.h"

#include "platform/dialogs.h"
#include "platform/rtl/codepages.h"
#include "platform/rtl/format.h"
#include "platform/ui/forms.h"

namespace {

bool IsDelimiter(char16_t c) { return !IsCharAlphaNumericW(c); }

std::u16string Lowered(std::u16string s) {
  for (char16_t& c : s) c = CharLowerW(c);
  return s;
}

}  // namespace

ZV_CLASS_IMPL(TSearchAndReplace, TComponent)

void TSearchAndReplace::DeclareProperties(TClassInfo& c) {
  c.String<TSearchAndReplace>("NotFound", &TSearchAndReplace::NotFound, &TSearchAndReplace::SetNotFound,
                              std::string("\"%s\" was not found in text"));
}

TSearchAndReplace::TSearchAndReplace(TComponent* AOwner)
    : TComponent(AOwner), FFindDialog(new TFindDialog(this)), FReplaceDialog(new TReplaceDialog(this)) {
  FFindDialog->OnFind = [this](TObject* s) { FindHandler(s); };
  FReplaceDialog->OnFind = [this](TObject* s) { FindHandler(s); };
  FReplaceDialog->OnReplace = [this](TObject* s) { ReplaceHandler(s); };
}

TSearchAndReplace::~TSearchAndReplace() { SetMemo(nullptr); }

void TSearchAndReplace::SetMemo(TMemo* v) {
  if (FMemo == v) return;
  if (FMemo) FMemo->RemoveFreeNotification(this);
  FMemo = v;
  if (FMemo) FMemo->FreeNotification(this);
}

void TSearchAndReplace::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FMemo) FMemo = nullptr;
}

void TSearchAndReplace::Find() { OpenDialog(FFindDialog); }
void TSearchAndReplace::Replace() { OpenDialog(FReplaceDialog); }

void TSearchAndReplace::OpenDialog(TFindDialog* dialog) {
  if (FMemo) {
    if (FMemo->SelLength() > 0) dialog->FindText = FMemo->SelText();
    // The search starts at the selection's start, so a proposed word is found first.
    FMemo->SetSel(FMemo->SelStart(), 0);
  }
  dialog->Options = {frDown};
  dialog->Execute();
}

int TSearchAndReplace::SearchText(const std::u16string& text, int selStart, int selLength, const std::u16string& what,
                                  bool down, bool wholeWord) {
  const int n = static_cast<int>(text.size());
  const int m = static_cast<int>(what.size());
  if (n <= 0 || m == 0) return -1;
  int pos, last, step;
  if (down) {
    pos = selStart + selLength;
    if (pos < 0 || n - pos - m < 0) return -1;
    last = n - m;
    step = 1;
  } else {
    pos = selStart - m;
    if (pos < 0 || pos > n) return -1;
    last = 0;
    step = -1;
  }
  for (;; pos += step) {
    bool ok = text.compare(static_cast<size_t>(pos), static_cast<size_t>(m), what) == 0;
    // A whole word starts after a delimiter (or the text's start) and is
    // followed by one (or the text's end).
    if (ok && wholeWord)
      ok = (pos == 0 || IsDelimiter(text[pos - 1])) && (pos + m == n || IsDelimiter(text[pos + m]));
    if (ok) return pos;
    if (pos == last) return -1;
  }
}

std::u16string TSearchAndReplace::ReplaceAllIn(const std::u16string& text, const std::u16string& what,
                                               const std::u16string& with, bool matchCase, bool wholeWord,
                                               int& count) {
  count = 0;
  const std::u16string hay = matchCase ? text : Lowered(text);
  const std::u16string needle = matchCase ? what : Lowered(what);
  const int n = static_cast<int>(text.size());
  const int m = static_cast<int>(needle.size());
  std::u16string out;
  if (m == 0 || n == 0) return text;
  int copied = 0;  // text before this is in out
  int pos = 0;
  for (;;) {
    int at = SearchText(hay, pos, 0, needle, true, false);
    // Whole words are judged in the text as it is after the replacements:
    // right after one, the character before is the replacement's last.
    while (at >= 0 && wholeWord) {
      const bool endOk = at + m == n || IsDelimiter(hay[at + m]);
      bool startOk;
      if (at > 0 && at == copied && count > 0)
        startOk = out.empty() || IsDelimiter(matchCase ? out.back() : CharLowerW(out.back()));
      else
        startOk = at == 0 || IsDelimiter(hay[at - 1]);
      if (startOk && endOk) break;
      at = at + 1 <= n - m ? SearchText(hay, at + 1, 0, needle, true, false) : -1;
    }
    if (at < 0) break;
    out.append(text, static_cast<size_t>(copied), static_cast<size_t>(at - copied));
    out += with;
    copied = pos = at + m;
    ++count;
    if (pos > n - m) break;
  }
  out.append(text, static_cast<size_t>(copied), std::u16string::npos);
  return out;
}

bool TSearchAndReplace::FindInMemo(TMemo* memo, TFindDialog* dialog) {
  if (!memo || !dialog || dialog->FindText.empty()) return false;
  std::u16string text = memo->WideText();
  if (text.empty()) return false;
  std::u16string what = Utf8ToUtf16(dialog->FindText);
  if (!dialog->Options.Contains(frMatchCase)) {
    text = Lowered(std::move(text));
    what = Lowered(std::move(what));
  }
  const int at = SearchText(text, memo->SelStart(), memo->SelLength(), what, dialog->Options.Contains(frDown),
                            dialog->Options.Contains(frWholeWord));
  if (at < 0) return false;
  memo->SetSel(at, static_cast<int>(what.size()));
  return true;
}

void TSearchAndReplace::ReportNotFound(const std::string& what) {
  MessageBox(Format(FNotFound, {what}), Application ? Application->Title() : std::string(), MB_ICONINFORMATION);
}

void TSearchAndReplace::FindHandler(TObject* Sender) {
  auto* dialog = dynamic_cast<TFindDialog*>(Sender);
  if (!dialog || !FMemo) return;
  if (!FindInMemo(FMemo, dialog)) ReportNotFound(dialog->FindText);
  FMemo->ScrollCaret();
  if (OnMoved) OnMoved(this);
}

// Only a selection that is the search text is replaced: a selection the
// user made elsewhere is not the dialog's to overwrite.
bool TSearchAndReplace::SelectionMatches(TFindDialog* dialog) const {
  if (FMemo->SelLength() <= 0 || dialog->FindText.empty()) return false;
  std::u16string sel = Utf8ToUtf16(FMemo->SelText());
  std::u16string what = Utf8ToUtf16(dialog->FindText);
  if (!dialog->Options.Contains(frMatchCase)) {
    sel = Lowered(std::move(sel));
    what = Lowered(std::move(what));
  }
  return sel == what;
}

void TSearchAndReplace::ReplaceHandler(TObject* Sender) {
  auto* dialog = dynamic_cast<TReplaceDialog*>(Sender);
  if (!dialog || !FMemo) return;
  if (dialog->Options.Contains(frReplaceAll)) {
    // From the start of the text downwards (upwards from there finds
    // nothing), each search after the text just put in; done as one edit,
    // which one Undo takes back, in time linear in the text.
    if (dialog->Options.Contains(frDown) && !dialog->FindText.empty()) {
      const std::u16string text = FMemo->WideText();
      int count = 0;
      const std::u16string replaced =
          ReplaceAllIn(text, Utf8ToUtf16(dialog->FindText), Utf8ToUtf16(dialog->ReplaceText),
                       dialog->Options.Contains(frMatchCase), dialog->Options.Contains(frWholeWord), count);
      if (count > 0) {
        FMemo->SetSel(0, static_cast<int>(text.size()));
        FMemo->SetSelText(Utf16ToUtf8(replaced));
      }
    }
    FMemo->SetSel(0, 0);
  } else {
    if (SelectionMatches(dialog)) FMemo->SetSelText(dialog->ReplaceText);
    if (!FindInMemo(FMemo, dialog)) ReportNotFound(dialog->FindText);
  }
  FMemo->ScrollCaret();
  if (OnMoved) OnMoved(this);
}
