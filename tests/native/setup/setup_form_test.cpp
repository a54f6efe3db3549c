#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "setup/setup_form.h"

namespace {

struct SlotPlace {
  int Id, Style, X, Y, Width, Height;
};

TEST(Layout, PositionsForACharacterWidth) {
  struct LayoutCase {
    int CharWidth;
    SlotPlace Slots[6];
  };
  const LayoutCase cases[] = {
      {7,
       {{1001, 0, 50, 192, 84, 24},
        {1002, 0, 158, 192, 84, 24},
        {1003, 2, 24, 72, 210, 24},
        {1004, 2, 24, 97, 210, 24},
        {1005, 4, 40, 122, 245, 24},
        {1006, 4, 40, 147, 245, 24}}},
      {8,
       {{1001, 0, 50, 192, 96, 24},
        {1002, 0, 170, 192, 96, 24},
        {1003, 2, 24, 72, 240, 24},
        {1004, 2, 24, 97, 240, 24},
        {1005, 4, 40, 122, 280, 24},
        {1006, 4, 40, 147, 280, 24}}},
  };
  for (const LayoutCase& c : cases) {
    SCOPED_TRACE(c.CharWidth);
    SetupForm form;
    LayoutSetupForm(form, c.CharWidth, 6);
    for (int slot = 1; slot <= 6; ++slot) {
      const SlotPlace& want = c.Slots[slot - 1];
      const ControlSlot& got = form.Slots[slot];
      SCOPED_TRACE(slot);
      EXPECT_EQ(got.Id, want.Id);
      EXPECT_EQ(got.ButtonStyle, want.Style);
      EXPECT_EQ(got.X, want.X);
      EXPECT_EQ(got.Y, want.Y);
      EXPECT_EQ(got.Width, want.Width);
      EXPECT_EQ(got.Height, want.Height);
      EXPECT_EQ(got.Exists, 0);
    }
  }
}

TEST(Layout, LabelsMarksAndEnablingAtTheStart) {
  for (int kind = 0; kind <= 7; ++kind) {
    SCOPED_TRACE(kind);
    SetupForm form;
    LayoutSetupForm(form, 7, kind);
    EXPECT_STREQ(ControlLabel(1, kind), "Ｏ　Ｋ");
    EXPECT_STREQ(ControlLabel(2, kind), "キャンセル");
    EXPECT_STREQ(ControlLabel(3, kind), "デスクトップに登録する");
    EXPECT_STREQ(ControlLabel(4, kind), "スタートメニューに登録する");
    EXPECT_STREQ(ControlLabel(5, kind), "スタートの中");
    EXPECT_STREQ(ControlLabel(6, kind), kind >= 4 ? "スタートのすべてのプログラムの中"
                                                  : "スタートのプログラムの中");
    EXPECT_EQ(form.Slots[3].Checked, 1);
    EXPECT_EQ(form.Slots[4].Checked, 1);
    EXPECT_EQ(form.Slots[5].Checked, 0);
    EXPECT_EQ(form.Slots[6].Checked, 1);
    EXPECT_EQ(form.Slots[5].Enabled, kind >= 5 ? 0 : 1);
    for (int slot : {1, 2, 3, 4, 6}) EXPECT_EQ(form.Slots[slot].Enabled, 1);
  }
}

// A form whose six controls all exist, as after a normal creation.
void MakeForm(SetupForm& form, SetupChoices& choices, int kind) {
  LayoutSetupForm(form, 7, kind);
  for (int slot = 1; slot <= 6; ++slot) form.Slots[slot].Exists = 1;
  InitialChoices(choices);
}

TEST(Enabling, StartMenuBoxDrivesBothRadiosUpToXp) {
  for (int kind : {0, 1, 2, 3, 4}) {
    SCOPED_TRACE(kind);
    SetupForm form;
    SetupChoices choices;
    MakeForm(form, choices, kind);
    ApplySetupCommand(form, choices, kind, IDC_PERCH_IN_START);
    ASSERT_EQ(choices.StartMenuPlacement, 1);
    EXPECT_EQ(ApplySetupCommand(form, choices, kind, IDC_PERCH_START_MENU), kCommandContinue);
    EXPECT_EQ(choices.AddToStartMenu, 0);
    EXPECT_EQ(form.Slots[4].Checked, 0);
    EXPECT_EQ(form.Slots[5].Enabled, 0);
    EXPECT_EQ(form.Slots[6].Enabled, 0);
    EXPECT_EQ(choices.StartMenuPlacement, 1);
    ApplySetupCommand(form, choices, kind, IDC_PERCH_START_MENU);
    EXPECT_EQ(choices.AddToStartMenu, 1);
    EXPECT_EQ(form.Slots[4].Checked, 1);
    EXPECT_EQ(form.Slots[5].Enabled, 1);
    EXPECT_EQ(form.Slots[6].Enabled, 1);
    EXPECT_EQ(choices.StartMenuPlacement, 1);
    EXPECT_EQ(form.Slots[5].Checked, 1);
    EXPECT_EQ(form.Slots[6].Checked, 0);
  }
}

TEST(Enabling, InStartStaysDisabledFromVistaOn) {
  for (int kind : {5, 6, 7}) {
    SCOPED_TRACE(kind);
    SetupForm form;
    SetupChoices choices;
    MakeForm(form, choices, kind);
    for (int round = 0; round < 3; ++round) {
      ApplySetupCommand(form, choices, kind, IDC_PERCH_START_MENU);
      EXPECT_EQ(form.Slots[5].Enabled, 0);
      EXPECT_EQ(form.Slots[6].Enabled, 0);
      EXPECT_EQ(choices.StartMenuPlacement, 2);
      ApplySetupCommand(form, choices, kind, IDC_PERCH_START_MENU);
      EXPECT_EQ(form.Slots[5].Enabled, 0);
      EXPECT_EQ(form.Slots[6].Enabled, 1);
      EXPECT_EQ(choices.StartMenuPlacement, 2);
    }
  }
}

TEST(Commands, TogglesRadiosAndAnswers) {
  SetupForm form;
  SetupChoices choices;
  MakeForm(form, choices, 4);
  EXPECT_EQ(ApplySetupCommand(form, choices, 4, IDC_PERCH_DESKTOP), kCommandContinue);
  EXPECT_EQ(choices.AddToDesktop, 0);
  EXPECT_EQ(form.Slots[3].Checked, 0);
  ApplySetupCommand(form, choices, 4, IDC_PERCH_DESKTOP);
  EXPECT_EQ(choices.AddToDesktop, 1);
  EXPECT_EQ(form.Slots[3].Checked, 1);

  ApplySetupCommand(form, choices, 4, IDC_PERCH_IN_START);
  EXPECT_EQ(choices.StartMenuPlacement, 1);
  EXPECT_EQ(form.Slots[5].Checked, 1);
  EXPECT_EQ(form.Slots[6].Checked, 0);
  ApplySetupCommand(form, choices, 4, IDC_PERCH_IN_START);  // selecting again changes nothing
  EXPECT_EQ(form.Slots[5].Checked, 1);
  ApplySetupCommand(form, choices, 4, IDC_PERCH_IN_PROGRAMS);
  EXPECT_EQ(choices.StartMenuPlacement, 2);
  EXPECT_EQ(form.Slots[5].Checked, 0);
  EXPECT_EQ(form.Slots[6].Checked, 1);

  SetupForm before = form;
  SetupChoices choicesBefore = choices;
  for (int id : {0, 1000, 1007, 2, 124}) {
    EXPECT_EQ(ApplySetupCommand(form, choices, 4, id), kCommandContinue);
  }
  EXPECT_EQ(std::memcmp(&form, &before, sizeof form), 0);
  EXPECT_EQ(std::memcmp(&choices, &choicesBefore, sizeof choices), 0);
  EXPECT_EQ(ApplySetupCommand(form, choices, 4, IDC_PERCH_OK), kCommandRegister);
  EXPECT_EQ(ApplySetupCommand(form, choices, 4, IDC_PERCH_CANCEL), kCommandCancel);
  EXPECT_EQ(std::memcmp(&choices, &choicesBefore, sizeof choices), 0);
}

TEST(Commands, AMissingBoxTogglesNothing) {
  SetupForm form;
  SetupChoices choices;
  MakeForm(form, choices, 4);
  form.Slots[3].Exists = 0;
  form.Slots[4].Exists = 0;
  form.Slots[5].Exists = 0;
  ApplySetupCommand(form, choices, 4, IDC_PERCH_DESKTOP);
  ApplySetupCommand(form, choices, 4, IDC_PERCH_START_MENU);
  EXPECT_EQ(choices.AddToDesktop, 1);
  EXPECT_EQ(choices.AddToStartMenu, 1);
  EXPECT_EQ(form.Slots[3].Checked, 1);
  ApplySetupCommand(form, choices, 4, IDC_PERCH_IN_START);
  EXPECT_EQ(choices.StartMenuPlacement, 1);
  EXPECT_EQ(form.Slots[5].Checked, 0);  // not there, so never marked
  EXPECT_EQ(form.Slots[6].Checked, 0);
}

TEST(Texts, CaptionAndCancelMessage) {
  SetupInstructions instructions;
  std::strcpy(instructions.TargetFileName, "Tessel.exe");
  std::strcpy(instructions.Title, "Tessel");
  char text[kMessageSize];
  ComposeCaption(text, instructions);
  EXPECT_STREQ(text, "Tessel のセットアップ");
  ComposeCancelMessage(text, instructions);
  EXPECT_STREQ(text, "プログラムを起動するときは Tessel.exe をダブルクリックして下さい。　");
  std::strcpy(instructions.Title, "無題");
  ComposeCaption(text, instructions);
  EXPECT_STREQ(text, "無題 のセットアップ");
  // The longest target and title still come through whole.
  std::string longest(77, 'w');
  std::strcpy(instructions.TargetFileName, longest.c_str());
  std::strcpy(instructions.Title, longest.c_str());
  ComposeCancelMessage(text, instructions);
  EXPECT_NE(std::string(text).find(longest + " をダブルクリック"), std::string::npos);
  ComposeCaption(text, instructions);
  EXPECT_EQ(std::string(text), longest + " のセットアップ");
}

TEST(Geometry, CentringTruncatesTowardZero) {
  struct Case {
    int Sw, Sh, Ww, Wh, X, Y;
  };
  const Case cases[] = {
      {1024, 768, 300, 260, 362, 254},
      {1025, 769, 300, 260, 362, 254},
      {200, 100, 301, 261, -50, -80},
      {300, 260, 300, 260, 0, 0},
  };
  for (const Case& c : cases) {
    Point p = CentredPosition(c.Sw, c.Sh, c.Ww, c.Wh);
    EXPECT_EQ(p.X, c.X);
    EXPECT_EQ(p.Y, c.Y);
  }
}

TEST(Geometry, EtchedFrameLines) {
  FrameLine lines[4];
  EtchedFrame(lines, 0, 0, 294, 231);
  const FrameLine want[4] = {
      {3, 43, 3, 176, 0}, {3, 43, 291, 43, 0}, {3, 175, 291, 175, 1}, {290, 43, 290, 176, 1}};
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(lines[i].FromX, want[i].FromX);
    EXPECT_EQ(lines[i].FromY, want[i].FromY);
    EXPECT_EQ(lines[i].ToX, want[i].ToX);
    EXPECT_EQ(lines[i].ToY, want[i].ToY);
    EXPECT_EQ(lines[i].White, want[i].White);
  }
}

}  // namespace
