#include "toolkit/forms/StandardClasses.h"

#include "toolkit/forms/Dialogs.h"
#include "toolkit/forms/Forms.h"
#include "toolkit/model/ClassRegistry.h"
#include "toolkit/visual/Buttons.h"
#include "toolkit/visual/ComCtrls.h"
#include "toolkit/visual/ExtCtrls.h"
#include "toolkit/visual/StdCtrls.h"

void RegisterStandardClasses() {
  RegisterClasses({TForm::StaticClass(), TLabel::StaticClass(), TGroupBox::StaticClass(),
                   TButton::StaticClass(), TCheckBox::StaticClass(), TRadioButton::StaticClass(),
                   TComboBox::StaticClass(), TPanel::StaticClass(), TBitBtn::StaticClass(),
                   TSpeedButton::StaticClass(), TRichEdit::StaticClass(),
                   TOpenDialog::StaticClass(), TSaveDialog::StaticClass(), TFont::StaticClass(),
                   TBitmap::StaticClass()});
}
