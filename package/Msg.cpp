#include "package/Msg.h"

#include <array>

#include "package/UnitVersion.h"
#include "toolkit/forms/Forms.h"
#include "toolkit/visual/Messages.h"

namespace {

[[maybe_unused]] const bool kUnitVersion = UnitVersion("Msg.cpp 1.0");

struct TButtonSet {
  int Flags;
  TMsgDlgButtons Buttons;
};

// In the order a tie is decided: the plainer set first.
constexpr std::array<TButtonSet, 6> kButtonSets{{
    {MB_OK, {mbOK}},
    {MB_OKCANCEL, {mbOK, mbCancel}},
    {MB_YESNO, {mbYes, mbNo}},
    {MB_YESNOCANCEL, {mbYes, mbNo, mbCancel}},
    {MB_RETRYCANCEL, {mbRetry, mbCancel}},
    {MB_ABORTRETRYIGNORE, {mbAbort, mbRetry, mbIgnore}},
}};

int CountOf(TMsgDlgButtons Buttons) {
  int count = 0;
  for (std::uint32_t bits = Buttons.Bits(); bits != 0; bits &= bits - 1)
    ++count;
  return count;
}

int IconFlags(int Kind) {
  switch (Kind) {
    case kMsgError:
      return MB_ICONERROR;
    case kMsgInformation:
      return MB_ICONINFORMATION;
    case kMsgWarning:
      return MB_ICONWARNING;
    case kMsgQuestion:
      return MB_ICONQUESTION;
    default:
      return 0;
  }
}

std::string KindCaption(int Kind) {
  switch (Kind) {
    case kMsgError:
      return "Error";
    case kMsgInformation:
      return "Information";
    case kMsgWarning:
      return "Warning";
    case kMsgQuestion:
      return "Confirm";
    default:
      return "Message";
  }
}

}  // namespace

int MsgButtonFlags(TMsgDlgButtons Buttons) {
  if (Buttons.Empty()) return MB_OK;
  const TButtonSet* best = &kButtonSets.front();
  int bestShown = -1;
  int bestOthers = 0;
  for (const TButtonSet& set : kButtonSets) {
    const int shown = CountOf(set.Buttons * Buttons);
    const int others = CountOf(set.Buttons - Buttons);
    if (shown > bestShown || (shown == bestShown && others < bestOthers)) {
      best = &set;
      bestShown = shown;
      bestOthers = others;
    }
  }
  return best->Flags;
}

int Msg(const std::string& Text, const std::string& Caption, int Kind, TMsgDlgButtons Buttons,
        int /*HelpContext*/) {
  std::string caption = Caption;
  if (caption.empty()) caption = Application->Title();
  if (caption.empty()) caption = KindCaption(Kind);
  return Application->MessageBox(Text, caption, MsgButtonFlags(Buttons) | IconFlags(Kind));
}
