#include "bars/itemcontrols/ownfont.h"

#include "bars/utils/utils.h"
#include "platform/Scope.h"

TdxBarOwnFont::TdxBarOwnFont(std::function<void()> AChanged)
    : FChanged(std::move(AChanged)), FRealFont(std::make_unique<TFont>()), FFont(std::make_unique<TFont>())
{
  FFont->OnChange = [this](TObject*) { FontChanged(); };
}

void TdxBarOwnFont::SetUseOwnFont(bool Value, TFont* AManagerFont)
{
  if (FUseOwnFont == Value)
    return;
  TRestore changing(FChanging, true);
  FUseOwnFont = Value;
  if (Value)
    FontChanged();
  else if (AManagerFont)
    FFont->Assign(AManagerFont);
}

bool TdxBarOwnFont::FollowManager(TFont* AManagerFont)
{
  if (FUseOwnFont || !AManagerFont)
    return false;
  TRestore changing(FChanging, true);
  FFont->Assign(AManagerFont);
  return true;
}

void TdxBarOwnFont::AssignQuietly(TFont* AFont)
{
  TNotifyEvent handler = FFont->OnChange;
  FFont->OnChange = nullptr;
  FFont->Assign(AFont);
  FFont->OnChange = handler;
}

// A change the font did not make itself makes it the owner's own.
void TdxBarOwnFont::FontChanged()
{
  if (!FChanging)
    FUseOwnFont = true;
  if (FUseOwnFont)
    SetFontHandleFromFont(FFont.get(), FRealFont.get(), false);
  if (FChanged)
    FChanged();
}
