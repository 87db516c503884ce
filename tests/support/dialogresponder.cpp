#include "support/dialogresponder.h"

#include <stdexcept>

TDialogResponder::TDialogResponder() {
  FPrevious = SetDialogHandler([this](const TDialogRequest& request) { return Respond(request); });
}

TDialogResponder::~TDialogResponder() { SetDialogHandler(std::move(FPrevious)); }

TDialogResponder& TDialogResponder::Answer(int result) {
  TDialogAnswer answer;
  answer.Result = result;
  answer.Accepted = result == mrOk || result == mrYes;
  return Queue(answer);
}

TDialogResponder& TDialogResponder::AnswerText(const std::string& text, bool accepted) {
  TDialogAnswer answer;
  answer.Result = accepted ? mrOk : mrCancel;
  answer.Text = text;
  answer.Accepted = accepted;
  return Queue(answer);
}

TDialogResponder& TDialogResponder::Queue(const TDialogAnswer& answer) {
  std::lock_guard<std::mutex> guard(FLock);
  FAnswers.push_back(answer);
  return *this;
}

std::size_t TDialogResponder::Pending() const {
  std::lock_guard<std::mutex> guard(FLock);
  return FAnswers.size();
}

std::vector<TDialogRequest> TDialogResponder::Requests() const {
  std::lock_guard<std::mutex> guard(FLock);
  return FRequests;
}

std::size_t TDialogResponder::Count() const {
  std::lock_guard<std::mutex> guard(FLock);
  return FRequests.size();
}

TDialogRequest TDialogResponder::Last() const {
  std::lock_guard<std::mutex> guard(FLock);
  if (FRequests.empty()) throw std::out_of_range("no dialog was shown");
  return FRequests.back();
}

std::vector<std::string> TDialogResponder::Texts() const {
  std::lock_guard<std::mutex> guard(FLock);
  std::vector<std::string> texts;
  texts.reserve(FRequests.size());
  for (const TDialogRequest& r : FRequests) texts.push_back(r.Text);
  return texts;
}

bool TDialogResponder::Saw(const std::string& fragment) const {
  std::lock_guard<std::mutex> guard(FLock);
  for (const TDialogRequest& r : FRequests)
    if (r.Text.find(fragment) != std::string::npos) return true;
  return false;
}

void TDialogResponder::Clear() {
  std::lock_guard<std::mutex> guard(FLock);
  FRequests.clear();
  FAnswers.clear();
}

TDialogAnswer TDialogResponder::Respond(const TDialogRequest& request) {
  std::function<TDialogAnswer(const TDialogRequest&)> custom;
  {
    std::lock_guard<std::mutex> guard(FLock);
    FRequests.push_back(request);
    if (!FAnswers.empty()) {
      TDialogAnswer answer = FAnswers.front();
      FAnswers.pop_front();
      return answer;
    }
    custom = OnRequest;
  }
  // Called unlocked: the callback may well show another dialog.
  if (custom) return custom(request);
  TDialogAnswer answer;
  answer.Result = request.DefaultResult;
  answer.Text = request.Default;
  answer.Accepted = false;
  return answer;
}
