#include "toolkit/StandardClasses.h"

#include "toolkit/Buttons.h"
#include "toolkit/ClassRegistry.h"
#include "toolkit/ComCtrls.h"
#include "toolkit/Dialogs.h"
#include "toolkit/ExtCtrls.h"
#include "toolkit/Forms.h"
#include "toolkit/StdCtrls.h"

void RegisterStandardClasses() {
  RegisterClasses({TForm::StaticClass(), TLabel::StaticClass(), TGroupBox::StaticClass(),
                   TButton::StaticClass(), TCheckBox::StaticClass(), TRadioButton::StaticClass(),
                   TComboBox::StaticClass(), TPanel::StaticClass(), TBitBtn::StaticClass(),
                   TSpeedButton::StaticClass(), TRichEdit::StaticClass(),
                   TOpenDialog::StaticClass(), TSaveDialog::StaticClass(), TFont::StaticClass(),
                   TBitmap::StaticClass()});
}
