// The standard controls form data may name.
#include "platform/Buttons.h"
#include "platform/CheckLst.h"
#include "platform/ComCtrls.h"
#include "platform/ExtCtrls.h"
#include "platform/StdCtrls.h"

void RegisterStandardControls()
{
  RegisterClasses({TEdit::StaticClass(), TListBox::StaticClass(), TButton::StaticClass(), TCheckBox::StaticClass(),
                   TLabel::StaticClass(), TComboBox::StaticClass(), TPanel::StaticClass(), TBevel::StaticClass(),
                   TPageControl::StaticClass(), TTabSheet::StaticClass(), TTreeView::StaticClass(),
                   TCheckListBox::StaticClass(), TSpeedButton::StaticClass()});
}
