#include "config/ConfigFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "package/Errors.h"
#include "package/PathOps.h"
#include "platform/FileNames.h"
#include "platform/Machine.h"
#include "tests/config/ConfigTestForms.h"
#include "tests/support/FakeWineServer.h"
#include "tests/support/TempDir.h"
#include "tests/support/toolkit/TestPresenter.h"
#include "toolkit/model/FormStreaming.h"
#include "toolkit/model/PropAccess.h"
#include "toolkit/model/Registry.h"
#include "toolkit/model/ScopeGuards.h"

namespace {

using Log = std::vector<std::string>;

// The machine over the prefix at Folder, whose program runs from C:\app.
std::unique_ptr<platform::Machine> AppMachine(const std::string& Folder) {
  auto machine = std::make_unique<platform::Machine>(platform::WinePrefix(Folder));
  machine->SetApplicationDir("C:\\app");
  return machine;
}

// A temporary prefix as the machine, the program's folder C:\app, and a form owning a
// configuration component with a settings file there.
class ConfigFileTest : public ::testing::Test {
 public:
  ConfigFileTest() : machine_(platform::Machine::Use(AppMachine(dir_.path()))) {
    RegisterConfigTestClasses();
    testsupport::WriteFile(dir_ / "drive_c/app/.keep", "");
    form_ = new TConfigTestForm(nullptr);
    form_->Sample = new TSampleComponent(form_);
    form_->Sample->SetName("Sample");
    form_->Other = new TSampleComponent(form_);
    form_->Other->SetName("Other");
    config_ = new TConfigFile(form_);
    config_->SetName("Config");
    config_->FileName = "settings.cfg";
  }
  ~ConfigFileTest() override { form_->Free(); }

  // An entry for Component naming Props; Items as given.
  TComponentEntry* AddEntry(TComponent* Component, std::vector<std::string> Props) {
    TComponentEntry* entry = config_->Entries()->Add(Component);
    for (const std::string& name : Props)
      entry->Props()->Add(name, tkUnknown);
    return entry;
  }

  // Every event of the component, recorded by name.
  void RecordEvents() {
    auto& log = log_;
    config_->OnGetInstance = [&log, this](TObject*, TObject*& Instance) {
      log.push_back("GetInstance");
      Instance = instance_;
    };
    config_->OnGetDefaults = [&log](TObject*) { log.push_back("GetDefaults"); };
    config_->BeforeLoad = [&log](TObject*, TExIniFile*) { log.push_back("BeforeLoad"); };
    config_->AfterLoad = [&log](TObject*, TExIniFile*) { log.push_back("AfterLoad"); };
    config_->BeforeSave = [&log](TObject*, TExIniFile*) { log.push_back("BeforeSave"); };
    config_->AfterSave = [&log](TObject*, TExIniFile*) { log.push_back("AfterSave"); };
    config_->OnLoadComponentQuery = [&log](TObject*, TComponent* Component, bool&) {
      log.push_back("LoadQuery " + Component->Name());
    };
    config_->OnSaveComponentQuery = [&log](TObject*, TComponent* Component, bool&) {
      log.push_back("SaveQuery " + Component->Name());
    };
    config_->OnCheckValues = [&log](TObject*, bool&) { log.push_back("CheckValues"); };
    config_->OnLoadError = [&log](TObject*) { log.push_back("LoadError"); };
    config_->OnSaveError = [&log](TObject*) { log.push_back("SaveError"); };
  }

  std::string SettingsFileText() const { return testsupport::ReadFile(SettingsHostPath()); }
  std::string SettingsHostPath() const { return dir_ / "drive_c/app/settings.cfg"; }
  // A value as a fresh store reads it from the settings file.
  std::string Stored(const std::string& Section, const std::string& Name) const {
    TExIniFile store("C:\\app\\settings.cfg");
    return store.ReadString(Section, Name, "<absent>");
  }

  testsupport::TempDir dir_;
  platform::Machine::Scope machine_;
  toolkit_test::PresenterScope presenter_;
  TConfigTestForm* form_ = nullptr;
  TConfigFile* config_ = nullptr;
  TObject* instance_ = nullptr;
  Log log_;
};

TEST_F(ConfigFileTest, ANewComponentHasItsFirstValuesAndDescribesOnlyWhatDiffers) {
  auto* fresh = new TConfigFile(form_);
  fresh->SetName("Fresh");
  EXPECT_EQ(fresh->SuperForm(), form_);
  EXPECT_EQ(fresh->State(), 0);
  EXPECT_EQ(fresh->IniFile(), nullptr);
  EXPECT_EQ(fresh->Entries()->Count(), 0);
  EXPECT_FALSE(fresh->AutoLoad);
  EXPECT_EQ(fresh->Mode, cmFile);
  EXPECT_EQ(fresh->RegistryRoot, rkCurrentUser);
  EXPECT_EQ(static_cast<int>(fresh->RegistryRoot), 2);
  EXPECT_EQ(fresh->HintPosition, 49);
  EXPECT_TRUE(fresh->HintsEnabled);
  EXPECT_FALSE(fresh->ShowLoadError);
  EXPECT_TRUE(fresh->ShowSaveError);
  EXPECT_EQ(GetPropValue(fresh, "ConfigFile").AsObject(), nullptr);
  SetPropValue(fresh, "ConfigFile", Variant(static_cast<TObject*>(form_->Sample)));
  EXPECT_EQ(GetPropValue(fresh, "ConfigFile").AsObject(), nullptr);

  const std::string text = WriteComponentText(form_);
  const std::string expected =
      "  object Fresh: TConfigFile\n"
      "    RegistryPath = 'Software\\Zav\\MyApplication'\n"
      "    SaveSuperFormState = False\n"
      "    LoadErrorText = 'Configuration file could not be loaded.'\n"
      "    SaveErrorText = 'Configuration file could not be saved.'\n"
      "  end\n";
  EXPECT_NE(text.find(expected), std::string::npos) << text;
}

TEST_F(ConfigFileTest, SaveSuperFormStateNeedsASuperFormExceptWhileTheFormIsRead) {
  auto* plain = new TPlainConfigForm(nullptr);
  const ScopeExit freePlain([plain] { plain->Free(); });
  auto* config = new TConfigFile(plain);
  EXPECT_NO_THROW(config->SetSaveSuperFormState(false));
  try {
    config->SetSaveSuperFormState(true);
    FAIL() << "no exception";
  } catch (const Exception& error) {
    EXPECT_EQ(error.Message,
              "TConfigFile.SaveSuperFormState property not changable: Owner form is not a "
              "TSuperForm");
  }
  EXPECT_FALSE(config->SaveSuperFormState());

  // On a super form it switches both ways, and switching to the same value is nothing.
  config_->SetSaveSuperFormState(true);
  EXPECT_NO_THROW(config_->SetSaveSuperFormState(true));
  EXPECT_TRUE(config_->SaveSuperFormState());
  // Assign copies it only onto a component whose owner is a super form.
  config->Assign(config_);
  EXPECT_FALSE(config->SaveSuperFormState());
  config_->SetSaveSuperFormState(false);
  auto* second = new TConfigFile(form_);
  config_->SetSaveSuperFormState(true);
  config_->Section = "Mine";
  second->Assign(config_);
  EXPECT_TRUE(second->SaveSuperFormState());
  EXPECT_EQ(second->Section, "Mine");
  EXPECT_THROW(second->Assign(form_->Sample), EConvertError);

  // Read from a description, the value is taken as it stands and Loaded corrects it.
  auto* read = new TPlainConfigForm(nullptr);
  const ScopeExit freeRead([read] { read->Free(); });
  ReadComponentText(read,
                    "object PlainConfigForm: TPlainConfigForm\n"
                    "  object Config: TConfigFile\n"
                    "    SaveSuperFormState = True\n"
                    "  end\n"
                    "end\n");
  EXPECT_FALSE(read->Config->SaveSuperFormState());
}

TEST_F(ConfigFileTest, RunsFireTheirEventsInOrderAndReadWhatWasWritten) {
  AddEntry(form_->Sample, {"Caption", "Count"});
  AddEntry(form_->Other, {"Mode"});
  TWindowSettings settings;
  instance_ = &settings;
  RecordEvents();
  form_->Sample->Caption = "saved";
  form_->Other->Mode = smCareful;

  EXPECT_TRUE(config_->Save());
  EXPECT_EQ(log_, (Log{"GetInstance", "BeforeSave", "SaveQuery Sample", "SaveQuery Sample",
                       "SaveQuery Other", "AfterSave"}));
  EXPECT_EQ(Stored("TConfigTestForm", "Sample.Caption"), "saved");
  EXPECT_EQ(Stored("TConfigTestForm", "Other.Mode"), "smCareful");

  log_.clear();
  form_->Sample->Caption = "changed";
  form_->Other->Mode = smFast;
  EXPECT_TRUE(config_->Load());
  EXPECT_EQ(log_, (Log{"GetInstance", "GetDefaults", "BeforeLoad", "LoadQuery Sample",
                       "LoadQuery Sample", "LoadQuery Other", "CheckValues", "AfterLoad"}));
  EXPECT_EQ(form_->Sample->Caption, "saved");
  EXPECT_EQ(form_->Other->Mode, smCareful);
  EXPECT_EQ(config_->State(), 0);
  EXPECT_EQ(config_->IniFile(), nullptr);
}

// How a load ends when something fails on the way: the events fired, the result, and whether
// the message is shown.
TEST_F(ConfigFileTest, AFailedLoadIsReportedOnlyAsAskedAndPutsTheDefaultsBack) {
  struct Case {
    const char* what;
    std::function<void(ConfigFileTest&)> arrange;
    Log expected;
  };
  const auto raise = [](auto...) { throw Exception("handler failed"); };
  const std::vector<Case> cases = {
      {"no settings file yet",
       [](ConfigFileTest&) {},
       {"GetInstance", "GetDefaults", "LoadError", "GetDefaults"}},
      {"a folder in the file's place",
       [](ConfigFileTest& t) { std::filesystem::create_directories(t.SettingsHostPath()); },
       {"GetInstance", "GetDefaults", "LoadError", "GetDefaults"}},
      {"BeforeLoad fails",
       [raise](ConfigFileTest& t) {
         testsupport::WriteFile(t.SettingsHostPath(), "");
         t.config_->BeforeLoad = raise;
       },
       {"GetInstance", "GetDefaults", "AfterLoad", "LoadError", "GetDefaults"}},
      {"a query handler fails",
       [raise](ConfigFileTest& t) {
         testsupport::WriteFile(t.SettingsHostPath(), "");
         t.config_->OnLoadComponentQuery = raise;
       },
       {"GetInstance", "GetDefaults", "BeforeLoad", "AfterLoad", "LoadError", "GetDefaults"}},
      {"the values are refused",
       [](ConfigFileTest& t) {
         testsupport::WriteFile(t.SettingsHostPath(), "");
         t.config_->OnCheckValues = [&t](TObject*, bool& OK) {
           t.log_.push_back("CheckValues");
           OK = false;
         };
       },
       {"GetInstance", "GetDefaults", "BeforeLoad", "LoadQuery Sample", "CheckValues", "AfterLoad",
        "LoadError", "GetDefaults"}},
  };
  for (const bool show : {false, true}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.what) + (show ? ", shown" : ", silent"));
      std::filesystem::remove_all(SettingsHostPath());
      config_->Entries()->Clear();
      AddEntry(form_->Sample, {"Caption"});
      TWindowSettings settings;
      instance_ = &settings;
      log_.clear();
      presenter_->MessageBoxes.clear();
      RecordEvents();
      config_->ShowLoadError = show;
      config_->LoadErrorCaption = "Settings";
      c.arrange(*this);

      EXPECT_FALSE(config_->Load());
      EXPECT_EQ(log_, c.expected);
      ASSERT_EQ(presenter_->MessageBoxes.size(), show ? 1U : 0U);
      if (show) {
        EXPECT_EQ(presenter_->MessageBoxes[0].Text, "Configuration file could not be loaded.");
        EXPECT_EQ(presenter_->MessageBoxes[0].Caption, "Settings");
      }
      EXPECT_EQ(config_->State(), 0);
      EXPECT_EQ(config_->IniFile(), nullptr);
    }
  }
}

TEST_F(ConfigFileTest, ANestedRunIsRefusedAndTheComponentStaysUsable) {
  AddEntry(form_->Sample, {"Caption"});
  std::string inner;
  config_->BeforeSave = [&](TObject*, TExIniFile*) {
    try {
      config_->Save();
    } catch (const ECriticalError& error) {
      inner = error.Message;
      throw;
    }
  };
  bool saveError = false;
  config_->OnSaveError = [&](TObject*) { saveError = true; };
  EXPECT_FALSE(config_->Save());
  EXPECT_EQ(inner,
            "TConfigFile: Invalid reentrance. Save request while saving not possible. Change "
            "your conception");
  EXPECT_TRUE(saveError);
  ASSERT_EQ(presenter_->MessageBoxes.size(), 1U);  // ShowSaveError is on by default
  EXPECT_EQ(presenter_->MessageBoxes[0].Text, "Configuration file could not be saved.");

  // A nested call from OnGetInstance is outside the trap: it reaches the caller.
  config_->BeforeSave = nullptr;
  config_->OnGetInstance = [&](TObject*, TObject*&) { config_->Save(); };
  try {
    config_->Load();
    FAIL() << "no exception";
  } catch (const ECriticalError& error) {
    EXPECT_EQ(error.Message,
              "TConfigFile: Invalid reentrance. Save request while loading not possible. Change "
              "your conception");
  }
  config_->OnGetInstance = nullptr;
  EXPECT_EQ(config_->State(), 0);
  form_->Sample->Caption = "after";
  EXPECT_TRUE(config_->Save());
  form_->Sample->Caption = "";
  EXPECT_TRUE(config_->Load());
  EXPECT_EQ(form_->Sample->Caption, "after");
}

TEST_F(ConfigFileTest, OnlyTheFilteredComponentAndTheQueriedOnesAreTransferred) {
  AddEntry(form_->Sample, {"Caption"});
  AddEntry(form_->Other, {"Caption"});
  form_->Sample->Caption = "sample";
  form_->Other->Caption = "other";
  config_->OnSaveComponentQuery = [&](TObject*, TComponent* Component, bool& DoHandle) {
    DoHandle = Component != form_->Other;
  };
  EXPECT_TRUE(config_->Save());
  EXPECT_EQ(Stored("TConfigTestForm", "Sample.Caption"), "sample");
  EXPECT_EQ(Stored("TConfigTestForm", "Other.Caption"), "<absent>");

  config_->OnSaveComponentQuery = nullptr;
  form_->Other->Caption = "other again";
  EXPECT_TRUE(config_->SaveComponent(form_->Other));
  EXPECT_EQ(Stored("TConfigTestForm", "Other.Caption"), "other again");

  // A save that fails halfway keeps what it had written.
  config_->OnSaveComponentQuery = [&](TObject*, TComponent* Component, bool&) {
    if (Component == form_->Other) throw Exception("refused");
  };
  form_->Sample->Caption = "before the failure";
  EXPECT_FALSE(config_->Save());
  EXPECT_EQ(Stored("TConfigTestForm", "Sample.Caption"), "before the failure");

  // A component no entry names: no value moves, but the run and its events happen.
  RecordEvents();
  auto* stranger = new TSampleComponent(form_);
  form_->Sample->Caption = "unsaved";
  EXPECT_TRUE(config_->LoadComponent(stranger));
  EXPECT_EQ(log_, (Log{"GetInstance", "BeforeLoad", "AfterLoad"}));
  EXPECT_EQ(form_->Sample->Caption, "unsaved");
  log_.clear();
  EXPECT_TRUE(config_->LoadComponent(nullptr));
  EXPECT_TRUE(config_->SaveComponent(nullptr));
  EXPECT_TRUE(log_.empty());
  // A failed load of one component leaves the defaults of the others alone.
  std::filesystem::remove(SettingsHostPath());
  EXPECT_FALSE(config_->LoadComponent(form_->Sample));
  EXPECT_EQ(log_, (Log{"GetInstance", "LoadError"}));
}

// Handlers and setters may rebuild a persisted collection or free a referenced component before
// or during a run: the run reaches only what is there when it comes to it.
TEST_F(ConfigFileTest, ARunWorksOnWhatItsHandlersLeft) {
  auto* counted = new TCountedComponent(form_);
  counted->SetName("Counted");
  AddEntry(counted, {"Text"});
  TComponentEntry* sample = AddEntry(form_->Sample, {"Caption"});
  sample->Items()->Add("Items", stCollectionObject)->Props()->Add("Caption", tkLString);
  TComponentEntry* other = AddEntry(form_->Other, {"Caption", "Mode"});
  int active = 0;  // the handler that makes the change during a run
  bool rebuilt = false;
  // Asked about Sample, its items are made anew; about Other, it goes; outside a query, both.
  const auto change = [&](int Handler, TComponent* Asked) {
    if (Handler != active || config_->State() == 0) return;
    if (!rebuilt && (Asked == nullptr || Asked == form_->Sample)) {
      rebuilt = true;
      form_->Sample->Items()->Clear();
      for (const char* caption : {"new 0", "new 1"})
        static_cast<TSampleItem*>(form_->Sample->Items()->Add())->Caption = caption;
    }
    if (form_->Other != nullptr && (Asked == nullptr || Asked == form_->Other)) {
      form_->Other->Free();
      form_->Other = nullptr;
    }
  };
  config_->OnGetInstance = [&](TObject*, TObject*&) { change(0, nullptr); };
  config_->BeforeLoad = config_->BeforeSave = [&](TObject*, TExIniFile*) { change(1, nullptr); };
  config_->OnLoadComponentQuery =
      config_->OnSaveComponentQuery = [&](TObject*, TComponent* Asked, bool&) { change(2, Asked); };
  config_->OnGetDefaults = [&](TObject*) { change(3, nullptr); };
  counted->AfterSet = [&] { change(4, nullptr); };
  for (const bool load : {false, true}) {
    for (active = 0; active <= 4; ++active) {
      SCOPED_TRACE(testing::Message() << "handler " << active << (load ? ", load" : ", save"));
      if (form_->Other == nullptr) other->SetRef(form_->Other = new TSampleComponent(form_));
      form_->Sample->Items()->Clear();
      // Handlers before the entry's turn grow the collection; the query, which comes once its
      // items are listed, shrinks it.
      for (int i = 0; i < (active == 2 ? 3 : 1); ++i)
        form_->Sample->Items()->Add();
      counted->SetText("");
      rebuilt = false;
      testsupport::WriteFile(SettingsHostPath(),
                             "[TConfigTestForm]\nCounted.Text=stored\nSample.Items[0].Caption=s0\n"
                             "Sample.Items[1].Caption=s1\nSample.Items[2].Caption=s2\n");
      EXPECT_TRUE(load ? config_->Load() : config_->Save());
      if (!rebuilt && !load) continue;  // a handler of loads only

      const std::string last = static_cast<TSampleItem*>(form_->Sample->Items()->Items(1))->Caption;
      EXPECT_EQ(last, load ? "s1" : "new 1");
      EXPECT_EQ(Stored("TConfigTestForm", "Sample.Items[1].Caption"), last);
      EXPECT_EQ(Stored("TConfigTestForm", "Sample.Items[2].Caption"), "s2");
      EXPECT_EQ(Stored("TConfigTestForm", "Other.Mode"), "<absent>");
    }
  }
}

// A query handler that points the entry at another component has answered for the one asked
// about only: that value is not moved, and the other component is asked about in its turn.
TEST_F(ConfigFileTest, AnEntryItsQueryPointsElsewhereMovesOnlyWhatWasAskedFor) {
  TComponentEntry* entry = AddEntry(form_->Sample, {"Caption", "Mode"});
  form_->Other->Caption = "other";
  config_->OnSaveComponentQuery = [&](TObject*, TComponent* Asked, bool&) {
    if (Asked == form_->Sample) entry->SetRef(form_->Other);
  };
  ASSERT_TRUE(config_->Save());
  EXPECT_EQ(Stored("TConfigTestForm", "Sample.Caption"), "<absent>");
  EXPECT_EQ(Stored("TConfigTestForm", "Other.Mode"), "smFast");
}

TEST_F(ConfigFileTest, AValueIsSetOnlyWhenTheStoredTextDiffers) {
  auto* counted = new TCountedComponent(form_);
  counted->SetName("Counted");
  AddEntry(counted, {"Text"});
  const auto setsByLoad = [&](const std::string& Current) {
    counted->SetText(Current);
    counted->Sets = 0;
    EXPECT_TRUE(config_->Load());
    return counted->Sets;
  };
  testsupport::WriteFile(SettingsHostPath(), "");
  EXPECT_EQ(setsByLoad("C:\\Zav"), 0);  // nothing stored: the current text stays untouched
  counted->SetText("C:\\Zav");
  ASSERT_TRUE(config_->Save());
  EXPECT_EQ(setsByLoad("C:\\Zav"), 0);
  EXPECT_EQ(setsByLoad("c:\\zav"), 1);  // the letter case alone differs: set
  EXPECT_EQ(counted->Text(), "C:\\Zav");

  // A settings object is set for every stored property, whether the file holds it or not.
  TWindowSettings settings;
  config_->OnGetInstance = [&](TObject*, TObject*& Instance) { Instance = &settings; };
  ASSERT_TRUE(config_->Load());
  EXPECT_EQ(settings.SetCalls, 5);
}

TEST_F(ConfigFileTest, ASettingsObjectIsGroupedIntoSectionsByIndex) {
  TWindowSettings settings;
  settings.Left = 7;
  settings.LastFolder = "D:\\Projects";
  settings.Zoom = 0.25;
  config_->OnGetInstance = [&](TObject*, TObject*& Instance) { Instance = &settings; };
  ASSERT_TRUE(config_->Save());
  EXPECT_EQ(Stored("Window", "Left"), "7");
  EXPECT_EQ(Stored("Window", "Top"), "20");
  EXPECT_EQ(Stored("Paths", "LastFolder"), "D:\\Projects");
  EXPECT_EQ(Stored("Default Section", "Volume"), "5");
  EXPECT_EQ(Stored("Default Section", "Zoom"), "0.25");
  EXPECT_EQ(Stored("Window", "Window"), "<absent>");

  TWindowSettings loaded;
  config_->OnGetInstance = [&](TObject*, TObject*& Instance) { Instance = &loaded; };
  ASSERT_TRUE(config_->Load());
  EXPECT_EQ(loaded.Left, 7);
  EXPECT_EQ(loaded.LastFolder, "D:\\Projects");
  EXPECT_EQ(loaded.Zoom, 0.25);
}

TEST_F(ConfigFileTest, TheNamesOfSectionsAndEntries) {
  EXPECT_EQ(config_->GetSectionName(), "TConfigTestForm");
  config_->Section = "Global";
  EXPECT_EQ(config_->GetSectionName(), "Global");
  auto* orphan = new TConfigFile(nullptr);
  const ScopeExit freeOrphan([orphan] { orphan->Free(); });
  EXPECT_EQ(orphan->GetSectionName(), "");
  EXPECT_EQ(GetFormName(form_), "ConfigTestForm");

  EXPECT_EQ(config_->GetFileName(), "C:\\app\\settings.cfg");
  config_->FileName = "D:\\elsewhere\\my.cfg";
  EXPECT_EQ(config_->GetFileName(), "D:\\elsewhere\\my.cfg");
  config_->FileName.clear();
  EXPECT_EQ(config_->GetFileName(),
            "C:\\app\\" + platform::ChangeFileExt(GetApplicationFileName(), ".cfg"));

  // The form itself as an entry: its values are named by its form name.
  config_->FileName = "settings.cfg";
  AddEntry(form_, {"Caption"});
  form_->SetCaption("Window title");
  ASSERT_TRUE(config_->Save());
  EXPECT_EQ(Stored("Global", "ConfigTestForm.Caption"), "Window title");
  // A settings file in a folder not made yet gets its folder.
  config_->FileName = "New\\settings.cfg";
  ASSERT_TRUE(config_->Save());
  EXPECT_TRUE(std::filesystem::exists(dir_ / "drive_c/app/New/settings.cfg"));
}

TEST_F(ConfigFileTest, TheWindowStateTravelsWithTheOtherValues) {
  config_->SetSaveSuperFormState(true);
  form_->SetBounds(100, 80, 400, 300);
  ASSERT_TRUE(config_->Save());
  EXPECT_EQ(Stored("TConfigTestForm", "ConfigTestForm"), form_->GetWindowStateData());
  form_->SetBounds(10, 10, 400, 300);
  ASSERT_TRUE(config_->Load());
  EXPECT_EQ(form_->Left(), 100);
  EXPECT_EQ(form_->Top(), 80);
}

TEST_F(ConfigFileTest, AFormDescriptionHoldsTheEntriesAndLoadsByItself) {
  testsupport::WriteFile(SettingsHostPath(), "[TConfigTestForm]\nSample.Caption=from file\n");
  const std::string text =
      "object ConfigTestForm: TConfigTestForm\n"
      "  object Config: TConfigFile\n"
      "    AutoLoad = True\n"
      "    FileName = 'settings.cfg'\n"
      "    RegistryPath = 'Software\\Zav\\MyApplication'\n"
      "    SaveSuperFormState = False\n"
      "    LoadErrorText = 'Configuration file could not be loaded.'\n"
      "    SaveErrorText = 'Configuration file could not be saved.'\n"
      "    Entries = <\n"
      "      item\n"
      "        Ref = Sample\n"
      "        Props = <\n"
      "          item\n"
      "            Name = 'Caption'\n"
      "            Kind = tkLString\n"
      "          end>\n"
      "        SubType = [stPubPropObject]\n"
      "      end>\n"
      "  end\n"
      "  object Sample: TSampleComponent\n"
      "    Caption = 'from form'\n"
      "  end\n"
      "end\n";
  auto* form = new TConfigTestForm(nullptr);
  const ScopeExit freeForm([form] { form->Free(); });
  ReadComponentText(form, text);
  // The reference stood before its component; Loaded ran after the whole form was read.
  EXPECT_EQ(form->Config->Entries()->GetItem(0)->GetRef(), form->Sample);
  EXPECT_EQ(form->Sample->Caption, "from file");
  form->Sample->Caption = "from form";
  const std::string written = WriteComponentText(form);
  const std::size_t config = written.find("  object Config");
  ASSERT_NE(config, std::string::npos);
  EXPECT_EQ(written.substr(config, written.find("  object Sample") - config),
            text.substr(text.find("  object Config"),
                        text.find("  object Sample") - text.find("  object Config")));

  // A form being designed never loads by itself.
  auto* designed = new TConfigTestForm(nullptr);
  const ScopeExit freeDesigned([designed] { designed->Free(); });
  designed->SetDesigning(true);
  ReadComponentText(designed, text);
  EXPECT_EQ(designed->Sample->Caption, "from form");

  // A component that goes takes its entry's reference with it.
  form->Sample->Free();
  EXPECT_EQ(form->Config->Entries()->GetItem(0)->GetRef(), nullptr);
  EXPECT_TRUE(form->Config->Save());
}

TEST_F(ConfigFileTest, ASettingsFileReadsLikeAFormAndSurvivesEditingByHand) {
  AddEntry(form_->Sample, {"Caption", "Mode"});
  form_->Sample->Caption = " C:\\Zav; \"quoted\"\r\nÄ ";
  form_->Sample->Mode = smSlow;
  ASSERT_TRUE(config_->Save());
  EXPECT_EQ(SettingsFileText(),
            "[TConfigTestForm]\n"
            "Sample.Caption=\" C:\\\\Zav; \\\"quoted\\\"\\r\\nÄ \"     ; string\n"
            "Sample.Mode=smSlow                              ; TSampleMode: smFast, smSlow, "
            "smCareful\n");

  // Someone edits the file: a comment, a value typed without quotes, a section of their own.
  testsupport::WriteFile(SettingsHostPath(),
                         "; my notes\n[TConfigTestForm]\nSample.Caption=D:\\Mine\n"
                         "Sample.Mode=smCareful\n[Theirs]\nx=1\n");
  ASSERT_TRUE(config_->Load());
  EXPECT_EQ(form_->Sample->Caption, "D:\\Mine");
  EXPECT_EQ(form_->Sample->Mode, smCareful);
  config_->HintsEnabled = false;
  form_->Sample->Caption = "E:\\New";
  ASSERT_TRUE(config_->Save());
  EXPECT_EQ(SettingsFileText(),
            "; my notes\n[TConfigTestForm]\nSample.Caption=E:\\New\n"
            "Sample.Mode=smCareful\n[Theirs]\nx=1\n");

  // A text that does not fit the property fails the load, and the defaults come back.
  testsupport::WriteFile(SettingsHostPath(), "[TConfigTestForm]\nSample.Mode=smNope\n");
  bool defaults = false;
  config_->OnGetDefaults = [&](TObject*) { defaults = true; };
  EXPECT_FALSE(config_->Load());
  EXPECT_TRUE(defaults);
}

TEST_F(ConfigFileTest, InTheRegistryEachSectionIsAKeyAndARefusedSaveLosesNothing) {
  config_->Mode = cmRegistry;
  config_->RegistryPath = "Software\\Zav\\Designers\\Polyverb\\Install";
  config_->ShowSaveError = false;
  AddEntry(form_->Sample, {"Caption"});
  const auto storedInRegistry = [] {
    TRegistry registry;
    registry.SetRootKey(HKEY_CURRENT_USER);
    if (!registry.OpenKeyReadOnly("Software\\Zav\\Designers\\Polyverb\\Install\\TConfigTestForm")) {
      return std::string("<no key>");
    }
    return registry.ReadString("Sample.Caption");
  };

  // Loading finds nothing and creates nothing.
  EXPECT_TRUE(config_->Load());
  EXPECT_EQ(storedInRegistry(), "<no key>");

  form_->Sample->Caption = "C:\\Zav;C:\\Other;";
  EXPECT_TRUE(config_->Save());
  EXPECT_EQ(storedInRegistry(), "C:\\Zav;C:\\Other;");

  {
    testsupport::FakeWineServer server(dir_.path());
    form_->Sample->Caption = "refused";
    EXPECT_FALSE(config_->Save());
    EXPECT_EQ(storedInRegistry(), "C:\\Zav;C:\\Other;");
    EXPECT_TRUE(config_->Load());  // reading works while the server runs
    EXPECT_EQ(form_->Sample->Caption, "C:\\Zav;C:\\Other;");
  }
  EXPECT_TRUE(presenter_->MessageBoxes.empty());
}

}  // namespace
