// The program-wide set-up of the small dialogs' tests, the form they read and their helpers.
#include "DialogTestUtil.h"

#include "bars/itemcontrols/buttons.h"
#include "bars/model/groups.h"
#include "platform/ExtCtrls.h"
#include "support/BarTestHost.h"
#include "support/Pump.h"

IMPLEMENT_CLASS(TDialogsHostForm, TForm)

namespace {

[[maybe_unused]] testing::Environment* const DialogsEnvironment = testing::AddGlobalTestEnvironment(
    new TBarLibraryEnvironment{TDialogsHostForm::StaticClass(), TdxBarManager::StaticClass(), TdxBar::StaticClass(),
                               TdxBarButton::StaticClass(), TdxBarGroup::StaticClass()});

const wchar_t* const FormText =
    L"object DialogsHost: TDialogsHostForm\n"
    L"  object dxBarManager1: TdxBarManager\n"
    L"    Categories.Strings = ('File' 'Edit' 'Empty')\n"
    L"    object StandardBar: TdxBar\n      Caption = 'Standard'\n      DockingStyle = dsTop\n"
    L"      Visible = True\n    end\n"
    L"    object FormattingBar: TdxBar\n      Caption = 'Formatting'\n      DockingStyle = dsTop\n      Row = 1\n"
    L"      Visible = True\n    end\n"
    L"    object NewItem: TdxBarButton\n      Caption = '&New'\n      Category = 0\n    end\n"
    L"    object OpenItem: TdxBarButton\n      Caption = 'Open'\n      Category = 0\n    end\n"
    L"    object CutItem: TdxBarButton\n      Caption = 'Cut'\n      Category = 1\n    end\n"
    L"    object HiddenItem: TdxBarButton\n      Caption = 'Hidden'\n      Category = 1\n"
    L"      Visible = ivNever\n    end\n"
    L"    object PasteItem: TdxBarButton\n      Caption = 'Paste'\n      Category = 1\n    end\n"
    L"    object GroupC: TdxBarGroup\n    end\n"
    L"    object GroupA: TdxBarGroup\n      Items = ('OpenItem' 'GroupC')\n    end\n"
    L"    object GroupB: TdxBarGroup\n    end\n"
    L"  end\n"
    L"end\n";

}  // namespace

void TDialogsFixture::SetUp()
{
  Form = TCustomForm::CreateFromText<TDialogsHostForm>(FormText, nullptr);
  FormOwner = std::make_unique<TOwned<TDialogsHostForm>>(Form);
  Manager = dynamic_cast<TdxBarManager*>(Form->FindComponent(L"dxBarManager1"));
  ASSERT_NE(Manager, nullptr);
}

void TDialogsFixture::TearDown()
{
  PumpPending();
}

void TDialogsFixture::ShowForm()
{
  ShowFormAt(Form, 150, 120, 500, 300);
}
