object PolyverbInstallForm: TPolyverbInstallForm
  Left = 192
  Top = 107
  BorderIcons = [biSystemMenu]
  BorderStyle = bsDialog
  Caption = 'Zav Polyverb - Installation'
  ClientHeight = 368
  ClientWidth = 505
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  OldCreateOrder = False
  Position = poScreenCenter
  OnCloseQuery = FormCloseQuery
  OnCreate = FormCreate
  OnDestroy = FormDestroy
  PixelsPerInch = 96
  TextHeight = 13
  object ButtonPanel: TButtonPanel
    Left = 0
    Top = 328
    Width = 505
    Height = 40
    Align = alBottom
    BevelOuter = bvNone
    TabOrder = 0
    Buttons = <
      item
        Caption = '&Continue'
        Kind = bkOK
        OnClick = ButtonPanelContinueClick
      end
      item
        Caption = 'Close'
        Kind = bkCancel
        OnClick = ButtonPanelCloseClick
      end>
  end
  object PanelMain: TPanel
    Left = 0
    Top = 0
    Width = 505
    Height = 328
    Align = alClient
    BevelOuter = bvNone
    TabOrder = 1
    object LabelLang: TLabel
      Left = 352
      Top = 8
      Width = 51
      Height = 13
      Caption = 'Language:'
      FocusControl = LangComboBox
    end
    object GroupMode: TGroupBox
      Left = 8
      Top = 8
      Width = 217
      Height = 73
      Caption = 'Installation/uninstallation'
      TabOrder = 0
      object BtnInstall: TRadioButton
        Left = 16
        Top = 24
        Width = 185
        Height = 17
        Caption = 'Install'
        Checked = True
        TabOrder = 0
        TabStop = True
        OnClick = BtnInstallClick
      end
      object BtnUninstall: TRadioButton
        Left = 16
        Top = 48
        Width = 185
        Height = 17
        Caption = 'Uninstall'
        TabOrder = 1
        OnClick = BtnInstallClick
      end
    end
    object LangComboBox: TLangComboBox
      Left = 352
      Top = 24
      Width = 145
      Height = 21
      Polyverb = Polyverb
      TabOrder = 1
    end
    object GroupFolder: TGroupBox
      Left = 8
      Top = 96
      Width = 489
      Height = 81
      Caption = 'Installation folder'
      TabOrder = 2
      object BtnFolder: TCheckBox
        Left = 16
        Top = 24
        Width = 113
        Height = 17
        AccessibleName = 'Use the installation folder'
        Caption = 'Enabled'
        State = cbChecked
        TabOrder = 0
        OnClick = BtnClick
      end
      object FolderSelect: TFileSelect
        Left = 16
        Top = 49
        Width = 457
        Height = 25
        Hint = 'This folder is used to save all installation files'
        AccessibleName = 'Installation folder'
        ButtonAccessibleName = 'Browse for the installation folder'
        ButtonCaption = '...'
        ButtonNumGlyphs = 1
        ButtonVisible = True
        DropDownCount = 8
        History = 
          'C:\Programme\Zav Polyverb;C:\Zav Polyverb;C:\Programme\Polyverb;C:\' +
          'Polyverb;C:\Zav;'
        HistoryListCount = 8
        ParentShowHint = False
        ShowHint = True
        TabOrder = 1
        FileFilter = 'All files (*.*)|*.*'
      end
    end
    object GroupDir: TGroupBox
      Left = 8
      Top = 192
      Width = 273
      Height = 121
      Caption = 'Package locations'
      TabOrder = 3
      object BtnWindows: TCheckBox
        Left = 16
        Top = 24
        Width = 241
        Height = 17
        Hint = 'C:\Windows'
        State = cbChecked
        TabOrder = 0
        OnClick = BtnClick
      end
      object BtnD3Dir: TCheckBox
        Left = 16
        Top = 48
        Width = 241
        Height = 17
        Caption = '...\Delphi 3\Bin'
        Enabled = False
        TabOrder = 1
        OnClick = BtnClick
      end
      object BtnD4Dir: TCheckBox
        Left = 16
        Top = 72
        Width = 241
        Height = 17
        Caption = '...\Delphi 4\Bin'
        Enabled = False
        TabOrder = 2
        OnClick = BtnClick
      end
      object BtnD5Dir: TCheckBox
        Left = 16
        Top = 96
        Width = 241
        Height = 17
        Caption = '...\Delphi 5\Bin'
        Enabled = False
        TabOrder = 3
        OnClick = BtnClick
      end
    end
    object GroupReg: TGroupBox
      Left = 296
      Top = 216
      Width = 201
      Height = 97
      Caption = 'Register packages to'
      TabOrder = 4
      object BtnD3: TCheckBox
        Left = 16
        Top = 24
        Width = 169
        Height = 17
        Caption = 'Delphi 3'
        Enabled = False
        TabOrder = 0
      end
      object BtnD4: TCheckBox
        Left = 16
        Top = 48
        Width = 169
        Height = 17
        Caption = 'Delphi 4'
        Enabled = False
        TabOrder = 1
      end
      object BtnD5: TCheckBox
        Left = 16
        Top = 72
        Width = 169
        Height = 17
        Caption = 'Delphi 5'
        Enabled = False
        TabOrder = 2
      end
    end
  end
  object Polyverb: TPolyverb
    Language = 'English'
    OnChange = PolyverbChange
    Strings = <
      item
        Key = 'RTOnly'
        English = '(Runtime packages only)'
        Deutsch = '(nur Laufzeit-Packages)'
      end
      item
        Key = 'DirAlreadyExists'
        English = 'Directory '#39'%s'#39' already exists.'
        Deutsch = 'Verzeichnis '#39'%s'#39' existiert bereits.'
      end
      item
        Key = 'DirCreated'
        English = 'Directory '#39'%s'#39' created.'
        Deutsch = 'Verzeichnis '#39'%s'#39' erstellt.'
      end
      item
        Key = 'EDirCreate'
        English = 'Error: Directory '#39'%s'#39' could not be created.'
        Deutsch = 'Fehler: Verzeichnis '#39'%s'#39' konnte nicht erstellt werden.'
      end
      item
        Key = 'EDirNotFound'
        English = 'Error: Directory '#39'%s'#39' not found.'
        Deutsch = 'Fehler: Verzeichnis '#39'%s'#39' nicht gefunden.'
      end
      item
        Key = 'EDirDelete'
        English = 'Error: Directory '#39'%s'#39' could not be deleted.'
        Deutsch = 'Fehler: Verzeichnis '#39'%s'#39' konnte nicht gelöscht werden.'
      end
      item
        Key = 'DirDeleted'
        English = 'Directory '#39'%s'#39' deleted.'
        Deutsch = 'Verzeichnis '#39'%s'#39' gelöscht.'
      end
      item
        Key = 'FileCopied'
        English = 'File '#39'%s'#39' copied to '#39'%s'#39'.'
        Deutsch = 'Datei '#39'%s'#39' nach '#39'%s'#39' kopiert.'
      end
      item
        Key = 'EFileCopy'
        English = 'Error: File '#39'%s'#39' could not be copied to '#39'%s'#39'.'
        Deutsch = 'Fehler: Datei '#39'%s'#39' konnte nicht nach '#39'%s'#39' kopiert werden.'
      end
      item
        Key = 'FileDeleted'
        English = 'File '#39'%s'#39' deleted.'
        Deutsch = 'Datei '#39'%s'#39' gelöscht.'
      end
      item
        Key = 'EFileDelete'
        English = 'Error: File '#39'%s'#39' could not be deleted.'
        Deutsch = 'Fehler: Datei '#39'%s'#39' konnte nicht gelöscht werden.'
      end
      item
        Key = 'UninstStatus'
        English = 'Status of uninstallation:'
        Deutsch = 'Status der Deinstallation:'
      end
      item
        Key = 'InstStatus'
        English = 'Status of installation:'
        Deutsch = 'Status der Installation:'
      end
      item
        Key = 'Finished'
        English = 'Finished.'
        Deutsch = 'Abgeschlossen.'
      end
      item
        Key = 'EPackageRegister'
        English = 'Package '#39'%s'#39' could not be registered to Delphi.'
        Deutsch = 'Package '#39'%s'#39' konnte nicht bei Delphi registriert werden.'
      end
      item
        Key = 'PackageRegistered'
        English = 'Package '#39'%s'#39' registered to Delphi.'
        Deutsch = 'Package '#39'%s'#39' bei Delphi registriert.'
      end
      item
        Key = 'EUnknownError'
        English = 'An unknown installation error has occured.'
        Deutsch = 'Ein unbekannter Installationsfehler ist aufgetreten.'
      end
      item
        Key = 'NoFiles'
        English = 'No files to install found.'
        Deutsch = 'Keine Dateien zum Installieren gefunden.'
      end
      item
        Key = 'InstallationCompleted'
        English = 'Installation completed.'
        Deutsch = 'Installation abgeschlossen.'
      end
      item
        Key = 'DeinstallationCompleted'
        English = 'Deinstallation completed.'
        Deutsch = 'Deinstallation abgeschlossen.'
      end
      item
        Key = 'EPackageUnregister'
        English = 'Package '#39'%s'#39' could not be removed from Delphi.'
        Deutsch = 'Package '#39'%s'#39' konnte nicht aus Delphi entfernt werden.'
      end
      item
        Key = 'ENoPrefix'
        English = 'The folder '#39'%s'#39' is not a Wine prefix: %s not found. Set WINEPREFIX to the prefix Delphi is installed in.'
        Deutsch = 'Der Ordner '#39'%s'#39' ist kein Wine-Präfix: %s nicht gefunden. Setzen Sie WINEPREFIX auf das Präfix, in dem Delphi installiert ist.'
      end
      item
        Key = 'EPrefixUnreadable'
        English = 'The folder '#39'%s'#39' is not a usable Wine prefix: %s cannot be read (%s).'
        Deutsch = 'Der Ordner '#39'%s'#39' ist kein brauchbares Wine-Präfix: %s kann nicht gelesen werden (%s).'
      end>
    Translations = <
      item
        Target = 'Caption'
        English = 'Zav Polyverb - Installation'
        Deutsch = 'Zav Polyverb - Installation'
      end
      item
        Target = 'ButtonPanel.Buttons[0].Caption'
        English = '&Continue'
        Deutsch = '&Weiter'
      end
      item
        Target = 'ButtonPanel.Buttons[1].Caption'
        English = 'Close'
        Deutsch = 'Schließen'
      end
      item
        Target = 'GroupMode.Caption'
        English = 'Installation/uninstallation'
        Deutsch = 'Installation/Deinstallation'
      end
      item
        Target = 'BtnInstall.Caption'
        English = 'Install'
        Deutsch = 'Installieren'
      end
      item
        Target = 'BtnUninstall.Caption'
        English = 'Uninstall'
        Deutsch = 'Deinstallieren'
      end
      item
        Target = 'LabelLang.Caption'
        English = 'Language:'
        Deutsch = 'Sprache:'
      end
      item
        Target = 'GroupFolder.Caption'
        English = 'Installation folder'
        Deutsch = 'Installationsverzeichnis'
      end
      item
        Target = 'BtnFolder.Caption'
        English = 'Enabled'
        Deutsch = 'Aktivieren'
      end
      item
        Target = 'BtnFolder.AccessibleName'
        English = 'Use the installation folder'
        Deutsch = 'Installationsverzeichnis verwenden'
      end
      item
        Target = 'FolderSelect.Hint'
        English = 'This folder is used to save all installation files'
        Deutsch = 
          'Dieses Verzeichnis wird zum Speichern aller Installationsdateien ve' +
          'rwendet'
      end
      item
        Target = 'FolderSelect.AccessibleName'
        English = 'Installation folder'
        Deutsch = 'Installationsverzeichnis'
      end
      item
        Target = 'FolderSelect.ButtonAccessibleName'
        English = 'Browse for the installation folder'
        Deutsch = 'Installationsverzeichnis auswählen'
      end
      item
        Target = 'GroupDir.Caption'
        English = 'Package locations'
        Deutsch = 'Package-Verzeichnisse'
      end
      item
        Target = 'GroupReg.Caption'
        English = 'Register packages to'
        Deutsch = 'Packages registrieren für'
      end>
  end
  object Config: TConfigFile
    AutoLoad = True
    Mode = cmRegistry
    RegistryPath = 'Software\Zav\Designers\Polyverb\Install'
    SaveSuperFormState = False
    LoadErrorText = 'Configuration file could not be loaded.'
    SaveErrorText = 'Configuration file could not be saved.'
    ShowSaveError = False
    Entries = <
      item
        Ref = FolderSelect
        Props = <
          item
            Name = 'History'
            Kind = tkLString
          end>
        SubType = [stPubPropObject]
      end>
  end
  object ConfigLang: TConfigFile
    AutoLoad = True
    Mode = cmRegistry
    RegistryPath = 'Software\Zav\Designers'
    SaveSuperFormState = False
    Section = 'Global'
    LoadErrorText = 'Configuration file could not be loaded.'
    SaveErrorText = 'Configuration file could not be saved.'
    ShowSaveError = False
    Entries = <
      item
        Ref = Polyverb
        Props = <
          item
            Name = 'Language'
            Kind = tkLString
          end>
        SubType = [stPubPropObject]
      end>
  end
end
