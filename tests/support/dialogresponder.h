// A scripted answerer for the dialog service. While one lives, every message
// box, message dialog and input box is recorded and answered from the queue of
// scripted answers (first in, first out), or with the dialog's default answer
// once the queue is empty. Responders nest: the previous handler comes back
// when the responder is destroyed.
#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "platform/dialogs.h"

class TDialogResponder {
public:
  TDialogResponder();
  ~TDialogResponder();
  TDialogResponder(const TDialogResponder&) = delete;
  TDialogResponder& operator=(const TDialogResponder&) = delete;

  // Queues the button or modal result of the next dialog (IDYES, mrNo, ...).
  TDialogResponder& Answer(int result);
  // Queues the next input box: the text typed and whether OK was pressed.
  TDialogResponder& AnswerText(const std::string& text, bool accepted = true);
  TDialogResponder& Queue(const TDialogAnswer& answer);
  // Answers still waiting in the queue.
  std::size_t Pending() const;

  // Every request seen so far, oldest first.
  std::vector<TDialogRequest> Requests() const;
  std::size_t Count() const;
  // The newest request; throws std::out_of_range when there is none.
  TDialogRequest Last() const;
  // The texts of every request, oldest first.
  std::vector<std::string> Texts() const;
  // True when some request's text contains the fragment.
  bool Saw(const std::string& fragment) const;
  // Forgets the recorded requests and the queued answers.
  void Clear();

  // When set, answers every request the queue does not answer (before the
  // default answer is used).
  std::function<TDialogAnswer(const TDialogRequest&)> OnRequest;

private:
  TDialogAnswer Respond(const TDialogRequest& request);

  mutable std::mutex FLock;
  std::vector<TDialogRequest> FRequests;
  std::deque<TDialogAnswer> FAnswers;
  TDialogHandler FPrevious;
};
