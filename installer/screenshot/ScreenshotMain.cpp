// PolyverbScreenshot: starts the setup program as it starts for a user, from a given
// distribution folder, and saves a picture of its window instead of waiting for input.
// It needs no display; the documentation's pictures and the run command without a display
// use it.
//
//   PolyverbScreenshot --dist DIR [--language English|Deutsch] [--folder PATH]
//                      [--run | --browse] --output FILE.png
//
// With --run it presses Continue first and pictures the window at the end of the run (the
// completion box goes to standard error). With --browse it presses the folder field's "..."
// button and pictures the folder-browse dialog that opens. --folder types a folder into the
// field first (the dialog starts there).
//
// Pictures leave the prefix as they found it: the settings the window would keep are not
// saved (a --run does install into the demo machine, as a user's run would).
//
// The Wine prefix is the program's: WINEPREFIX, else ~/.wine.

#include <cstdio>
#include <iostream>
#include <memory>
#include <string>
#include <string_view>

#include "installer/PolyverbInstallMain.h"
#include "installer/ProgramStart.h"
#include "platform/Machine.h"
#include "toolkit/forms/Forms.h"
#include "toolkit/forms/Presenter.h"
#include "toolkit/forms/WidgetSystem.h"
#include "toolkit/model/Exceptions.h"
#include "toolkit/visual/Buttons.h"

namespace {

struct Options {
  std::string dist;
  std::string language = "English";
  std::string folder;
  std::string output;
  bool run = false;
  bool browse = false;
};

int Usage(const char* problem) {
  std::fprintf(
      stderr,
      "PolyverbScreenshot: %s\n"
      "usage: PolyverbScreenshot --dist DIR [--language English|Deutsch] [--run | --browse] "
      "--output FILE.png\n",
      problem);
  return 2;
}

bool ReadOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view name = argv[i];
    if (name == "--run" || name == "--browse") {
      (name == "--run" ? options.run : options.browse) = true;
      continue;
    }
    if (i + 1 == argc) return false;
    const char* value = argv[++i];
    if (name == "--dist") {
      options.dist = value;
    } else if (name == "--language") {
      options.language = value;
    } else if (name == "--folder") {
      options.folder = value;
    } else if (name == "--output") {
      options.output = value;
    } else {
      return false;
    }
  }
  return !options.dist.empty() && !options.output.empty() && !(options.run && options.browse);
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ReadOptions(argc, argv, options)) return Usage("bad arguments");
  const platform::Result<std::string> dist =
      platform::Machine::Current().prefix().ToWindowsPath(options.dist);
  if (!dist)
    return Usage(("the distribution folder is on no drive: " + dist.status().message()).c_str());
  platform::Machine::Current().SetApplicationDir(*dist);

  UseOffscreenWidgetSystem();
  // The browse dialog is pictured as it opens: it needs its real window.
  if (options.browse) {
    Application->SetPresenter(CreateDefaultPresenter());
  } else {
    Application->SetPresenter(std::make_unique<TConsolePresenter>(std::cerr));
  }
  bool saved = false;
  const int exitCode = RunSetupProgram([&](TPolyverbInstallForm& form) {
    form.FSaveSettings = false;
    try {
      form.Polyverb->SetLanguage(options.language);
      if (!options.folder.empty()) {
        form.FolderSelect->SetText(options.folder);
        (void)form.FolderSelect->ApplyText();
      }
      if (options.run)
        form.ButtonPanel->Buttons()->GetItem(TPolyverbInstallForm::kContinueButton)->Click();
      if (options.browse) {
        WhenModalWindowShown("BrowseForFolder", [&](HWND dialog) {
          saved = SaveWindowPicture(dialog, options.output);
          CloseWindow(dialog);
        });
        dynamic_cast<TBitBtn&>(*form.FolderSelect->Button()).Click();
      } else {
        saved = SaveWindowPicture(&form, options.output);
      }
      if (!saved)
        std::fprintf(stderr, "PolyverbScreenshot: cannot write %s\n", options.output.c_str());
    } catch (const Exception& error) {
      std::fprintf(stderr, "PolyverbScreenshot: %s\n", error.Message.c_str());
    }
    Application->Terminate();
  });
  DoneWidgetSystem();
  if (exitCode != 0 || !saved) return 1;
  std::printf("%s\n", options.output.c_str());
  return 0;
}
