// A small dialog of every standard control, read from form data by class names, shown, and
// written and read back the same; with TEST_SHOTS set its picture goes to shots/.
#include "StdControlsTestUtil.h"

#include <cstring>

#include "platform/Buttons.h"
#include "platform/CheckLst.h"
#include "platform/ComCtrls.h"
#include "platform/ExtCtrls.h"
#include "platform/Filer.h"
#include "platform/StdCtrls.h"

namespace {

const wchar_t* const SampleForm =
    LR"(object SampleDialog: THostForm
  Left = 120
  Top = 80
  BorderStyle = bsDialog
  Caption = 'Customize'
  ClientHeight = 330
  ClientWidth = 380
  object Pages: TPageControl
    Left = 6
    Top = 6
    Width = 368
    Height = 276
    ActivePage = CommandsSheet
    OnChange = Changed
    object ToolbarsSheet: TTabSheet
      Caption = 'Toolbars'
      object ToolbarsLabel: TLabel
        Left = 8
        Top = 8
        Caption = 'Toolb&ars:'
        FocusControl = ToolbarsList
      end
      object ToolbarsList: TCheckListBox
        Left = 8
        Top = 26
        Width = 220
        Height = 200
        Items.Strings = (
          'Standard'
          'Formatting')
      end
      object NewButton: TButton
        Left = 240
        Top = 26
        Caption = '&New...'
        OnClick = Clicked
      end
    end
    object CommandsSheet: TTabSheet
      Caption = 'Commands'
      object CategoryLabel: TLabel
        Left = 8
        Top = 8
        Caption = 'Categories:'
      end
      object Categories: TListBox
        Left = 8
        Top = 26
        Width = 150
        Height = 200
        Style = lbOwnerDrawFixed
        ItemHeight = 18
        Items.Strings = (
          'File'
          'Edit')
      end
      object Bevel1: TBevel
        Left = 170
        Top = 26
        Width = 180
        Height = 2
        Shape = bsTopLine
      end
    end
    object OptionsSheet: TTabSheet
      Caption = 'Options'
      object LargeIcons: TCheckBox
        Left = 8
        Top = 8
        Width = 200
        Caption = '&Large icons'
        Checked = True
        OnClick = Clicked
      end
      object Animations: TComboBox
        Left = 8
        Top = 36
        Style = csDropDownList
        DropDownCount = 100
        Items.Strings = (
          '(None)'
          'Random'
          'Unfold'
          'Slide'
          'Fade')
        ItemIndex = 2
        OnSelect = Selected
      end
    end
    object KeyTipsSheet: TTabSheet
      Caption = 'Key Tips'
      TabVisible = False
      object KeyTips: TTreeView
        Left = 8
        Top = 8
        Width = 200
        Height = 200
      end
    end
  end
  object BottomPanel: TPanel
    Left = 0
    Top = 290
    Width = 380
    Height = 40
    Align = alBottom
    BevelOuter = bvNone
    object HelpButton: TSpeedButton
      Left = 8
      Top = 8
      Width = 23
      Height = 22
      Flat = True
    end
    object CloseButton: TButton
      Left = 296
      Top = 8
      Caption = 'Close'
      Cancel = True
      Default = True
      ModalResult = 8
    end
  end
end
)";

template <class T>
T* Find(TComponent* Form, const wchar_t* Name)
{
  return dynamic_cast<T*>(Form->FindComponent(Name));
}

void CheckSample(THostForm* form)
{
  auto* pages = Find<TPageControl>(form, L"Pages");
  ASSERT_NE(pages, nullptr);
  ASSERT_EQ(pages->GetPageCount(), 4);
  EXPECT_EQ(pages->GetActivePage(), Find<TTabSheet>(form, L"CommandsSheet"));
  EXPECT_FALSE(Find<TTabSheet>(form, L"KeyTipsSheet")->GetTabVisible());
  EXPECT_NE(Find<TTreeView>(form, L"KeyTips"), nullptr);
  EXPECT_EQ(Find<TLabel>(form, L"ToolbarsLabel")->GetFocusControl(), Find<TCheckListBox>(form, L"ToolbarsList"));
  EXPECT_EQ(Find<TCheckListBox>(form, L"ToolbarsList")->GetCount(), 2);
  EXPECT_EQ(Find<TListBox>(form, L"Categories")->GetStyle(), lbOwnerDrawFixed);
  EXPECT_EQ(Find<TBevel>(form, L"Bevel1")->GetShape(), bsTopLine);
  EXPECT_TRUE(Find<TCheckBox>(form, L"LargeIcons")->GetChecked());
  auto* combo = Find<TComboBox>(form, L"Animations");
  EXPECT_EQ(combo->GetDropDownCount(), 100);
  EXPECT_EQ(combo->GetItemIndex(), 2);
  EXPECT_EQ(combo->ReadText(), L"Unfold");
  EXPECT_TRUE(Find<TSpeedButton>(form, L"HelpButton")->GetFlat());
  auto* close = Find<TButton>(form, L"CloseButton");
  EXPECT_TRUE(close->GetDefault());
  EXPECT_TRUE(close->GetCancel());
  EXPECT_EQ(close->GetModalResult(), mrClose);
  EXPECT_EQ(Find<TPanel>(form, L"BottomPanel")->GetAlign(), alBottom);
  EXPECT_TRUE(form->Log.empty()) << "reading reports no clicks or changes";
}

}  // namespace

TEST(SampleForm, ReadsShowsAndWritesBackEveryStandardControl)
{
  String written;
  {
    TOwned<THostForm> form(TCustomForm::CreateFromText<THostForm>(SampleForm, nullptr));
    CheckSample(form.Get());
    form->Show();
    ASSERT_TRUE(ActivateWindow(form->GetHandle()));
    // A picture of each page with a tab.
    auto* pages = Find<TPageControl>(form.Get(), L"Pages");
    for (const char* name : {"Toolbars", "Commands", "Options"}) {
      pages->SetActivePage(Find<TTabSheet>(form.Get(), (String(name, name + strlen(name)) + L"Sheet").c_str()));
      ::RedrawWindow(form->GetHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
      PumpFor(100);
      RECT r{};
      ::GetWindowRect(form->GetHandle(), &r);
      SaveShotOnRequest(CaptureScreen(r), (std::string("stdcontrols-sample-") + name).c_str());
    }
    pages->SetActivePage(Find<TTabSheet>(form.Get(), L"CommandsSheet"));
    // The events are bound to the form's handlers: Esc presses the cancel button, which
    // here has no handler but sets the modal result.
    ASSERT_TRUE(PressKey(VK_ESCAPE));
    EXPECT_EQ(form->GetModalResult(), mrClose);
    written = ComponentToText(form.Get());
  }
  TOwned<THostForm> again(TCustomForm::CreateFromText<THostForm>(written, nullptr));
  CheckSample(again.Get());
  EXPECT_EQ(ComponentToText(again.Get()), written);
}

TEST(SampleForm, AnUnknownControlClassIsAReadingErrorNamingIt)
{
  String text = L"object F: THostForm\n  object X: TNoSuchControl\n  end\nend\n";
  try {
    TOwned<THostForm> form(TCustomForm::CreateFromText<THostForm>(text, nullptr));
    FAIL() << "read a form with an unknown class";
  } catch (const Exception& e) {
    EXPECT_NE(e.Message().find(L"TNoSuchControl"), String::npos) << ToUtf8(e.Message());
  }
}
