#include "tests/toolkit/DrivenForm.h"

#include "tests/support/toolkit/InstallerFormText.h"
#include "toolkit/model/ClassBuilder.h"

// The frame and the folder check box are the installer's; the rest uses each control class.
const std::string kDrivenFormText = InstallerFormText({
    .Name = "DrivenForm",
    .Caption = "Driven - Installation",
    .FormLines = R"(  OldCreateOrder = False
  Position = poScreenCenter
  OnCloseQuery = FormCloseQuery
  OnCreate = FormCreate
  PixelsPerInch = 96
  TextHeight = 13
)",
    .Objects = "  object PanelButtons: TPanel\n" + ButtonBarBounds("    ") + R"(    TabOrder = 0
    object BtnOK: TBitBtn
      Left = 233
      Top = 4
      Width = 128
      Height = 32
      Caption = '&Continue'
      TabOrder = 0
      OnClick = BtnOKClick
      OnEnter = ControlEnter
      OnExit = ControlExit
      Kind = bkOK
    end
    object BtnClose: TBitBtn
      Left = 369
      Top = 4
      Width = 128
      Height = 32
      Caption = 'Close'
      TabOrder = 1
      Kind = bkCancel
    end
  end
  object PanelMain: TPanel
    Left = 0
    Top = 0
    Width = 505
    Height = 328
    Align = alClient
    BevelOuter = bvNone
    TabOrder = 1
)" + LanguageLabelText("    ") +
               R"(    object GroupMode: TGroupBox
      Left = 8
      Top = 8
      Width = 217
      Height = 73
      Caption = 'Installation/uninstallation'
      TabOrder = 0
      OnEnter = ControlEnter
      OnExit = ControlExit
      object BtnInstall: TRadioButton
        Left = 16
        Top = 24
        Width = 185
        Height = 17
        Caption = 'Install'
        Checked = True
        TabOrder = 0
        TabStop = True
        OnClick = ControlClick
      end
      object BtnUninstall: TRadioButton
        Left = 16
        Top = 48
        Width = 185
        Height = 17
        Caption = 'Uninstall'
        TabOrder = 1
        OnClick = ControlClick
      end
    end
    object ComboLang: TNotifyingComboBox
      Left = 352
      Top = 24
      Width = 145
      Height = 21
      Items.Strings = (
        'English'
        'Deutsch')
      TabOrder = 1
      Text = 'English'
      OnEnter = ControlEnter
      OnExit = ControlExit
      OnKeyPress = ComboKeyPress
    end
    object GroupFolder: TGroupBox
      Left = 8
      Top = 96
      Width = 489
      Height = 81
      Caption = 'Installation folder'
      TabOrder = 2
)" +
               FolderCheckBoxText("      ",
                                  "State = cbChecked\nTabOrder = 0\nOnClick = ControlClick\n"
                                  "OnEnter = ControlEnter\nOnExit = ControlExit\n") +
               R"(      object ComboFolder: TComboBox
        Left = 16
        Top = 49
        Width = 428
        Height = 21
        Hint = 'This folder is used to save all installation files'
        DropDownCount = 4
        ShowHint = True
        TabOrder = 1
        Text = 'C:\Programme\Zav Polyverb'
      end
      object BtnBrowse: TSpeedButton
        Left = 448
        Top = 47
        Width = 25
        Height = 25
        Caption = '...'
        OnClick = BtnBrowseClick
      end
    end
    object StatusLog: TRichEdit
      Left = 8
      Top = 192
      Width = 489
      Height = 121
      Color = clBtnFace
      ReadOnly = True
      ScrollBars = ssBoth
      TabOrder = 3
      WordWrap = False
    end
  end
  object OpenDialog: TOpenDialog
    Filter = 'Text files (*.txt)|*.txt|All files (*.*)|*.*'
  end
  object SaveDialog: TSaveDialog
  end
)",
});

void TNotifyingComboBox::CNCommand(TMessage& Message) {
  inherited::CNCommand(Message);
  if (Log == nullptr) return;
  const std::uint16_t code = HiWord(Message.WParam);
  if (code == CBN_CLOSEUP) Log->push_back("CloseUp " + Name() + (DroppedDown() ? " dropped" : ""));
  if (code == CBN_SELENDOK) {
    Log->push_back("SelEndOK " + Name() + " " + std::to_string(ItemIndex()) +
                   (DroppedDown() ? " dropped" : " closed"));
  }
}

TClass TNotifyingComboBox::StaticClass() {
  return DefineClass<TNotifyingComboBox>("TNotifyingComboBox",
                                         [](ClassBuilder<TNotifyingComboBox>&) {});
}

TClass TDrivenForm::StaticClass() {
  return DefineClass<TDrivenForm>("TDrivenForm", [](ClassBuilder<TDrivenForm>& c) {
    c.Field("PanelButtons", &TDrivenForm::PanelButtons);
    c.Field("BtnOK", &TDrivenForm::BtnOK);
    c.Field("BtnClose", &TDrivenForm::BtnClose);
    c.Field("PanelMain", &TDrivenForm::PanelMain);
    c.Field("GroupMode", &TDrivenForm::GroupMode);
    c.Field("BtnInstall", &TDrivenForm::BtnInstall);
    c.Field("BtnUninstall", &TDrivenForm::BtnUninstall);
    c.Field("LabelLang", &TDrivenForm::LabelLang);
    c.Field("ComboLang", &TDrivenForm::ComboLang);
    c.Field("GroupFolder", &TDrivenForm::GroupFolder);
    c.Field("BtnFolder", &TDrivenForm::BtnFolder);
    c.Field("ComboFolder", &TDrivenForm::ComboFolder);
    c.Field("BtnBrowse", &TDrivenForm::BtnBrowse);
    c.Field("StatusLog", &TDrivenForm::StatusLog);
    c.Field("OpenDialog", &TDrivenForm::OpenDialog);
    c.Field("SaveDialog", &TDrivenForm::SaveDialog);
    c.Method("FormCreate", &TDrivenForm::FormCreate);
    c.Method("FormCloseQuery", &TDrivenForm::FormCloseQuery);
    c.Method("ControlEnter", &TDrivenForm::ControlEnter);
    c.Method("ControlExit", &TDrivenForm::ControlExit);
    c.Method("ControlClick", &TDrivenForm::ControlClick);
    c.Method("ComboKeyPress", &TDrivenForm::ComboKeyPress);
    c.Method("BtnOKClick", &TDrivenForm::BtnOKClick);
    c.Method("BtnBrowseClick", &TDrivenForm::BtnBrowseClick);
  });
}

TDrivenForm::TDrivenForm(TComponent* AOwner) : TForm(AOwner) {
  ReadForm(kDrivenFormText);
}

void TDrivenForm::FormCreate(TObject*) {
  ComboLang->Log = &Events;
  ComboLang->SetItemIndex(0);
  Events.push_back("Create");
}

void TDrivenForm::FormCloseQuery(TObject*, bool& CanClose) {
  CanClose = AllowClose && Enabled();
  Events.push_back(CanClose ? "CloseQuery yes" : "CloseQuery no");
}

void TDrivenForm::ControlEnter(TObject* Sender) {
  Events.push_back("Enter " + static_cast<TComponent*>(Sender)->Name());
}

void TDrivenForm::ControlExit(TObject* Sender) {
  Events.push_back("Exit " + static_cast<TComponent*>(Sender)->Name());
}

void TDrivenForm::ControlClick(TObject* Sender) {
  Events.push_back("Click " + static_cast<TComponent*>(Sender)->Name());
}

// Enter and Escape belong to the combo box, as a history field takes them.
void TDrivenForm::ComboKeyPress(TObject*, char& Key) {
  if (Key == VK_RETURN) {
    Events.push_back("Key Enter " + ComboLang->Text());
    Key = 0;
  } else if (Key == VK_ESCAPE && ComboLang->DroppedDown()) {
    Events.push_back("Key Escape dropped");
  } else if (Key == VK_ESCAPE) {
    Events.push_back("Key Escape");
    ComboLang->SetText("English");
    ComboLang->SelectAll();
    Key = 0;
  }
}

void TDrivenForm::BtnOKClick(TObject*) {
  Events.push_back("Click BtnOK");
  const int answer = Application->MessageBox("Continue with " + ComboFolder->Text() + "?",
                                             "Question", MB_YESNO | MB_ICONQUESTION);
  StatusLog->Lines()->Add(answer == IDYES ? "Yes" : "No");
}

void TDrivenForm::BtnBrowseClick(TObject*) {
  OpenDialog->InitialDir = "C:\\Zav";
  if (OpenDialog->Execute()) ComboFolder->SetText(OpenDialog->FileName);
}
