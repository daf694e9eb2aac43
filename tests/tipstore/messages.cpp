// Reading and answering message boxes through the runtime's test harness.
#include "tests/tipstore/messages.h"

#include <cstdio>
#include <memory>

#include "runtime/codes.h"
#include "runtime/harness.h"
#include "runtime/thread.h"
#include "runtime/window.h"

namespace vistip::testing {
namespace {

constexpr auto kWait = std::chrono::seconds(20);

bool HasButtons(const rt::Window& w) {
  for (const auto& c : w.controls())
    if (c->type == rt::kCreateButton) return true;
  return false;
}

MessageSeen Read(const rt::Window& w) {
  MessageSeen seen;
  seen.caption = w.caption();
  seen.icon = w.GetProp(1, rt::kPropIcon);
  for (const auto& c : w.controls()) {
    if (c->type == rt::kCreateButton) {
      if (!seen.buttons.empty()) seen.buttons += ' ';
      seen.buttons += c->text;
      if (c->field == w.focus()) seen.default_button = c->text;
    } else if (c->type == rt::kCreateString) {
      // One control per line, in order; a wrapped line lost the blank it was broken at.
      if (!seen.text.empty()) seen.text += ' ';
      seen.text += w.DisplayText(*c);
    }
  }
  return seen;
}

}  // namespace

std::string MessageSeen::Describe() const {
  return "[" + caption + "] " + text + " {" + icon + "} <" + buttons + "> default " +
         default_button;
}

// The open message box with this caption, waiting for it to appear.
static rt::Window* FindMessage(std::string_view caption) {
  return rt::harness::WaitForWindow(
      [&](const rt::Window& candidate) {
        return candidate.caption() == caption && HasButtons(candidate) && !candidate.hidden();
      },
      kWait);
}

std::optional<MessageSeen> AnswerMessage(std::string_view caption, std::string_view button) {
  rt::Window* w = FindMessage(caption);
  if (w == nullptr) return std::nullopt;
  MessageSeen seen = Read(*w);
  if (!rt::harness::ClickButton(*w, button)) return std::nullopt;
  return seen;
}

void AnswerAndAwaitEnd(std::string_view caption, std::string_view button) {
  rt::Window* w = FindMessage(caption);
  // Written before the click: the answer may end the program at once.
  std::fprintf(stderr, "%s\n", w != nullptr ? Read(*w).Describe().c_str() : "no message box");
  std::fflush(stderr);
  if (w == nullptr || !rt::harness::ClickButton(*w, button)) return;
  rt::WaitFor([] { return false; }, kWait);
}

bool RunWithoutMessage(std::function<void()> body, std::string* seen) {
  auto done = std::make_shared<bool>(false);
  rt::Start([body = std::move(body), done] {
    body();
    *done = true;
  });
  const rt::Window* box = nullptr;
  rt::WaitFor(
      [&] {
        for (const rt::Window* w : rt::OpenWindows())
          if (HasButtons(*w) && !w->hidden()) box = w;
        return *done || box != nullptr;
      },
      kWait);
  if (box != nullptr && seen != nullptr) *seen = Read(*box).Describe();
  return *done && box == nullptr;
}

}  // namespace vistip::testing
