#include "setup/setup_form.h"

#include <cstring>

#include "common/bounded_text.h"

const char kPerchClassName[] = "PerchClass";
const char kFirstCaption[] = "セットアップ";
const char kHeading[] = "アイコン(ショートカット)を登録します";
const char kUnreadableInstructions[] = "Perch.Inf 読み込みエラー。セットアップを中止します。";
const char kUnheldFolder[] =
    "フォルダ名に Perch で扱えない文字が含まれているため、セットアップを中止します。\n"
    "フォルダを移動するか、フォルダ名を変更してください。";
const char kSetupCaption[] = "セットアップ";
const char kCancelCaption[] = "セットアップのキャンセル";
const char kCloseQuestion[] = "セットアップを中止しますか";
const char kCompletionMessage[] = "アイコンを登録しました。　　";

void ComposeCaption(char (&caption)[kMessageSize], const SetupInstructions& instructions) {
  // A title keeps at most 77 bytes, so the caption always fits.
  FormatText(caption, "%s のセットアップ", instructions.Title);
}

void ComposeCancelMessage(char (&message)[kMessageSize], const SetupInstructions& instructions) {
  FormatText(message, "プログラムを起動するときは %s をダブルクリックして下さい。　",
             instructions.TargetFileName);
}

// ---- The controls ------------------------------------------------------------

namespace {

void PlaceSlot(SetupForm& form, int slot, int style, int x, int y, int width) {
  ControlSlot& s = form.Slots[slot];
  s.Id = 1000 + slot;
  s.ButtonStyle = style;
  s.X = x;
  s.Y = y;
  s.Width = width;
  s.Height = 24;
  s.Exists = 0;
  s.Checked = 0;
  s.Enabled = 1;
}

bool SlotUsable(const SetupForm& form, int slot) {
  return slot >= 1 && slot <= 6 && form.Slots[slot].Exists != 0;
}

// Flips a choice and the mark of its box; a missing box changes nothing.
void Toggle(SetupForm& form, int slot, int& value) {
  if (!SlotUsable(form, slot)) return;
  value = 1 - value;
  form.Slots[slot].Checked = value == 1 ? 1 : 0;
}

void SelectRadio(SetupForm& form, int first, int last, int selected) {
  if (first < 1 || last > 6 || selected < first || selected > last) return;
  for (int slot = first; slot <= last; ++slot) {
    if (form.Slots[slot].Exists) form.Slots[slot].Checked = slot == selected ? 1 : 0;
  }
}

}  // namespace

void LayoutSetupForm(SetupForm& form, int charWidth, int osKind) {
  std::memset(&form, 0, sizeof form);
  for (int n = 0; n < 2; ++n) {
    PlaceSlot(form, 1 + n, kStylePushButton, 50 + n * (12 * charWidth + 24), 192, 12 * charWidth);
  }
  for (int n = 0; n < 2; ++n) {
    PlaceSlot(form, 3 + n, kStyleCheckBox, 24, 72 + 25 * n, 30 * charWidth);
  }
  for (int n = 0; n < 2; ++n) {
    PlaceSlot(form, 5 + n, kStyleRadioButton, 40, 122 + 25 * n, 35 * charWidth);
  }
  form.Slots[3].Checked = 1;
  form.Slots[4].Checked = 1;
  form.Slots[6].Checked = 1;
  // From Vista on the Start menu has no place of its own for shortcuts.
  if (osKind >= 5) form.Slots[5].Enabled = 0;
}

const char* ControlLabel(int slot, int osKind) {
  switch (slot) {
    case 1: return "Ｏ　Ｋ";
    case 2: return "キャンセル";
    case 3: return "デスクトップに登録する";
    case 4: return "スタートメニューに登録する";
    case 5: return "スタートの中";
    case 6: return osKind >= 4 ? "スタートのすべてのプログラムの中" : "スタートのプログラムの中";
    default: return "";
  }
}

void InitialChoices(SetupChoices& choices) {
  choices.AddToDesktop = 1;
  choices.AddToStartMenu = 1;
  choices.StartMenuPlacement = 2;
}

CommandAnswer ApplySetupCommand(SetupForm& form, SetupChoices& choices, int osKind, int id) {
  switch (id) {
    case IDC_PERCH_OK:
      return kCommandRegister;
    case IDC_PERCH_CANCEL:
      return kCommandCancel;
    case IDC_PERCH_DESKTOP:
      Toggle(form, 3, choices.AddToDesktop);
      return kCommandContinue;
    case IDC_PERCH_START_MENU: {
      Toggle(form, 4, choices.AddToStartMenu);
      int enabled = choices.AddToStartMenu != 0 ? 1 : 0;
      // Once disabled for Vista and later, "in Start" never comes back.
      if (osKind <= 4) form.Slots[5].Enabled = enabled;
      form.Slots[6].Enabled = enabled;
      return kCommandContinue;
    }
    case IDC_PERCH_IN_START:
      SelectRadio(form, 5, 6, 5);
      choices.StartMenuPlacement = 1;
      return kCommandContinue;
    case IDC_PERCH_IN_PROGRAMS:
      SelectRadio(form, 5, 6, 6);
      choices.StartMenuPlacement = 2;
      return kCommandContinue;
    default:
      return kCommandContinue;
  }
}

// ---- Geometry ----------------------------------------------------------------

Point CentredPosition(int screenWidth, int screenHeight, int windowWidth, int windowHeight) {
  // Integer division truncates toward zero, also for a window wider than
  // the screen.
  Point p;
  p.X = (screenWidth - windowWidth) / 2;
  p.Y = (screenHeight - windowHeight) / 2;
  return p;
}

void EtchedFrame(FrameLine (&lines)[4], int left, int top, int right, int bottom) {
  int l = left + 3, t = top + 43, r = right - 3, b = bottom - 55;
  lines[0] = {l, t, l, b, 0};
  lines[1] = {l, t, r, t, 0};
  lines[2] = {l, b - 1, r, b - 1, 1};
  lines[3] = {r - 1, t, r - 1, b, 1};
}

