// The web update's own dialogs: the what's-new text, the licence agreement
// and the HTML message. Each is shown modally and freed.
#pragma once

#include <string>

#include "platform/rtl/stringlist.h"

// The what's-new dialog; its modal result (mrOk or mrCancel).
int ShowWhatsNewDialog(const std::string& Caption, const std::string& OkText, const std::string& CancelText,
                       const TStrings& Text);
// The licence dialog; true when the user chose to accept and pressed OK.
bool ShowLicenceDialog(const std::string& Caption, const std::string& OkText, const std::string& AcceptText,
                       const std::string& NotAcceptText, const TStrings& Text);
// A page of HTML in a dialog with a text browser.
void ShowHTMLDialog(const std::string& Html);
