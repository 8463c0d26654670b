// A program of someone else's that uses the installed components: a form whose history combo
// box keeps its history in a settings file through a configuration component. It fills the
// history, saves, frees the form, makes it again, loads, and exits with 0 when the history came
// back; otherwise it says what differed.

#include <stdlib.h>

#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "config/ConfigClasses.h"
#include "config/ConfigFile.h"
#include "controls/ControlsClasses.h"
#include "controls/MRUComboBox.h"
#include "platform/Machine.h"
#include "toolkit/forms/Forms.h"
#include "toolkit/forms/WidgetSystem.h"

namespace {

// The settings file lies on drive C: of the machine the program works on.
constexpr const char* kFormText = R"(object HistoryForm: TForm
  Caption = 'History'
  ClientHeight = 41
  ClientWidth = 400
  object Folder: TCustomMRUComboBox
    Left = 8
    Top = 8
    Width = 384
    Height = 25
    ButtonCaption = '...'
    DropDownCount = 4
    HistoryListCount = 4
  end
  object Config: TConfigFile
    FileName = 'C:\settings\history.ini'
    ShowSaveError = False
    Entries = <
      item
        Ref = Folder
        Props = <
          item
            Name = 'History'
            Kind = tkLString
          end>
        SubType = [stPubPropObject]
      end>
  end
end
)";

// Newest first; the first of the five values entered fell off the history of four.
constexpr const char* kExpectedHistory = "C:\\Temp;C:\\Work;C:\\Tools;C:\\Zav;";

struct HistoryForm {
  TForm* Form;
  TCustomMRUComboBox* Folder;
  TConfigFile* Config;
};

HistoryForm MakeForm() {
  auto* form = new TForm(Application);
  form->ReadForm(kFormText);
  return {form, dynamic_cast<TCustomMRUComboBox*>(form->FindComponent("Folder")),
          dynamic_cast<TConfigFile*>(form->FindComponent("Config"))};
}

std::string FileText(const std::filesystem::path& Path) {
  std::ifstream in(Path);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

int Fail(const std::string& What) {
  std::fprintf(stderr, "history round trip: %s\n", What.c_str());
  return 1;
}

int RoundTrip(const std::filesystem::path& SettingsFile) {
  HistoryForm first = MakeForm();
  if (first.Folder == nullptr || first.Config == nullptr)
    return Fail("the form lacks its history combo box or its configuration component");
  for (const char* value : {"C:\\Games", "C:\\Zav", "C:\\Tools", "C:\\Work", "C:\\Temp"}) {
    first.Folder->SetText(value);
    if (!first.Folder->ApplyText()) return Fail(std::string("the value was refused: ") + value);
  }
  if (first.Folder->History() != kExpectedHistory)
    return Fail("entered history is '" + first.Folder->History() + "', expected '" +
                kExpectedHistory + "'");
  if (!first.Config->Save()) return Fail("saving failed");
  if (!std::filesystem::exists(SettingsFile))
    return Fail("the settings file is not at " + SettingsFile.string());
  first.Form->Free();

  HistoryForm second = MakeForm();
  const std::string fresh = second.Folder->History();
  if (!second.Config->Load()) return Fail("loading failed");
  const std::string loaded = second.Folder->History();
  second.Form->Free();
  if (!fresh.empty()) return Fail("a new form already has the history '" + fresh + "'");
  if (loaded != kExpectedHistory)
    return Fail("loaded history is '" + loaded + "', expected '" + kExpectedHistory +
                "'; the settings file holds:\n" + FileText(SettingsFile));
  return 0;
}

}  // namespace

int main() {
  // A machine of its own: an empty prefix in a temporary folder, with the settings folder.
  std::string folder = (std::filesystem::temp_directory_path() / "history-XXXXXX").string();
  if (::mkdtemp(folder.data()) == nullptr) return Fail("no temporary folder");
  const std::filesystem::path prefix(folder);
  std::filesystem::create_directories(prefix / "drive_c" / "settings");
  int result = 1;
  {
    auto machine =
        platform::Machine::Use(std::make_unique<platform::Machine>(platform::WinePrefix(folder)));
    Application->Initialize();
    RegisterControlsClasses();
    RegisterConfigClasses();
    try {
      result = RoundTrip(prefix / "drive_c" / "settings" / "history.ini");
    } catch (const std::exception& e) {
      result = Fail(std::string("exception: ") + e.what());
    }
    DoneWidgetSystem();
  }
  std::filesystem::remove_all(prefix);
  return result;
}
