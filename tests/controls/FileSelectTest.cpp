// TFileSelect with its dialogs answered by the test presenter: the folder-browse dialog over a
// prefix like the demo machine's, and the file dialogs of the two file modes.

#include "controls/FileSelect.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "controls/ControlsClasses.h"
#include "platform/Machine.h"
#include "tests/support/DemoMachine.h"
#include "tests/support/TempDir.h"
#include "tests/support/toolkit/TestPresenter.h"
#include "toolkit/forms/Forms.h"
#include "toolkit/model/FormStreaming.h"

namespace {

using Log = std::vector<std::string>;
using toolkit_test::ClickItem;

class FileSelectTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(testsupport::MakeDelphiPrefix(dir.path(), {{5}}).ok());
    Application->Initialize();
    RegisterControlsClasses();
    form->SetBounds(0, 0, 500, 120);
    select->SetParent(form);
    select->SetBounds(16, 49, 457, 25);
    select->OnValidate = [this](TObject*, std::string& Text, bool& Valid) {
      log.push_back("Validate '" + Text + "' " + (Valid ? "valid" : "refused"));
      if (Validation) Validation(Text, Valid);
    };
    select->OnChange = [this](TObject*) { log.push_back("Change " + select->FileName()); };
  }
  void TearDown() override { form->Free(); }

  void Click() { static_cast<TBitBtn*>(select->Button())->Click(); }

  testsupport::TempDir dir;
  platform::Machine::Scope machine{platform::Machine::Use(
      std::make_unique<platform::Machine>(platform::WinePrefix(dir.path())))};
  toolkit_test::PresenterScope presenter;
  TForm* form = new TForm(nullptr);
  TFileSelect* select = new TFileSelect(form);
  std::function<void(std::string&, bool&)> Validation;
  Log log;
};

TEST_F(FileSelectTest, AnEmptyValueIsRefusedUnlessTheHandlerTakesIt) {
  EXPECT_EQ(select->Mode, mDirectory);
  EXPECT_EQ(select->FileFilter, "All files (*.*)|*.*");
  EXPECT_EQ(select->FileName(), "");
  // Nothing typed into an empty field is nothing new.
  EXPECT_TRUE(select->ApplyText());
  EXPECT_TRUE(log.empty());

  select->SetFileName("C:\\Zav");
  select->SetFileName("C:\\Zav");  // the same value again fires nothing
  select->ComboBox()->SetText("   ");
  EXPECT_FALSE(select->ApplyText());
  EXPECT_EQ(select->FileName(), "C:\\Zav");
  EXPECT_EQ(select->ComboBox()->Text(), "C:\\Zav");  // not in the field: the value comes back
  select->ComboBox()->SetText("");
  Validation = [](std::string& Text, bool& Valid) { Valid = Text.empty() || Valid; };
  EXPECT_TRUE(select->ApplyText());
  EXPECT_EQ(select->FileName(), "");
  EXPECT_EQ(log, (Log{"Validate 'C:\\Zav' valid", "Change C:\\Zav", "Validate '' refused",
                      "Validate '' refused", "Change "}));
  EXPECT_EQ(select->History(), ";C:\\Zav;");
}

TEST_F(FileSelectTest, TheFolderDialogStartsAtTheCommittedFolderAndCommitsTheChoice) {
  select->SetFileName("C:\\Program Files");
  log.clear();
  select->ComboBox()->SetText("C:\\typed but not committed");
  presenter->DriveNextBrowseDialog([](TBrowseDialog& dialog) {
    EXPECT_EQ(dialog.StatusText(), "C:\\Program Files");
    EXPECT_TRUE(dialog.HasStatusLine());
    return ClickItem(dialog, {"My Computer", "Local Disk (C:)", "Program Files", "Borland"});
  });
  Click();
  EXPECT_EQ(select->FileName(), "C:\\Program Files\\Borland");
  EXPECT_EQ(select->History(), "C:\\Program Files\\Borland;C:\\Program Files;");

  // Choosing the committed folder again changes nothing; Cancel changes nothing either.
  presenter->DriveNextBrowseDialog([](TBrowseDialog&) { return true; });
  Click();
  Click();
  EXPECT_EQ(log, (Log{"Validate 'C:\\Program Files\\Borland' valid",
                      "Change C:\\Program Files\\Borland"}));
  ASSERT_EQ(presenter->BrowseDialogs.size(), 3U);
  EXPECT_EQ(presenter->BrowseDialogs[0].Flags, BIF_STATUSTEXT);
}

TEST_F(FileSelectTest, TheFileDialogsStartFromTheCommittedFileAndCommitTheChoice) {
  for (const TFileSelectMode mode : {mFileOpen, mFileSave}) {
    SCOPED_TRACE(mode == mFileOpen ? "open" : "save");
    select->Mode = mode;
    select->FileFilter = "Text files (*.txt)|*.txt";
    select->SetFileName("C:\\Zav\\Polyverb - History.txt");
    presenter->FileDialogs.clear();
    presenter->ChooseNextFile("D:\\Other\\list.txt");
    Click();
    ASSERT_EQ(presenter->FileDialogs.size(), 1U);
    const TFileDialogRequest& request = presenter->FileDialogs[0];
    EXPECT_EQ(request.Kind, mode == mFileOpen ? TFileDialogKind::Open : TFileDialogKind::Save);
    EXPECT_EQ(request.InitialDir, "C:\\Zav");
    EXPECT_EQ(request.FileName, "Polyverb - History.txt");
    EXPECT_EQ(request.Filter, "Text files (*.txt)|*.txt");
    EXPECT_EQ(select->FileName(), "D:\\Other\\list.txt");
    presenter->CancelNextFile();
    Click();
    EXPECT_EQ(select->FileName(), "D:\\Other\\list.txt");
  }
}

TEST_F(FileSelectTest, AFormDescriptionGivesTheInstallersField) {
  auto* read = new TForm(nullptr);
  const std::unique_ptr<TForm, void (*)(TForm*)> guard(read, [](TForm* f) { f->Free(); });
  ReadComponentText(
      read,
      "object Form: TForm\n"
      "  object FolderSelect: TFileSelect\n"
      "    Left = 16\n"
      "    Top = 49\n"
      "    Width = 457\n"
      "    Height = 25\n"
      "    ButtonCaption = '...'\n"
      "    ButtonNumGlyphs = 1\n"
      "    ButtonVisible = True\n"
      "    DropDownCount = 8\n"
      "    History = 'C:\\Programme\\Zav Polyverb;C:\\Zav Polyverb;C:\\Programme\\Polyverb;"
      "C:\\Polyverb;C:\\Zav;'\n"
      "    HistoryListCount = 8\n"
      "    FileFilter = 'All files (*.*)|*.*'\n"
      "  end\n"
      "end\n");
  auto* field = static_cast<TFileSelect*>(read->FindComponent("FolderSelect"));
  ASSERT_NE(field, nullptr);
  EXPECT_EQ(field->FileName(), "C:\\Programme\\Zav Polyverb");
  EXPECT_EQ(field->HistoryList()->Count(), 5);
  const std::string written = WriteComponentText(read);
  EXPECT_NE(written.find("    FileFilter = 'All files (*.*)|*.*'\n"), std::string::npos) << written;
  EXPECT_EQ(written.find("FileName"), std::string::npos);
  EXPECT_EQ(written.find("Mode"), std::string::npos);
}

}  // namespace
