// Form data in tests: write the links of a bar, find what a read form holds, and read, write
// and read again.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "bars/model/manager.h"
#include "platform/Forms.h"
#include "support/Owned.h"

// A bar's or a sub-item's "ItemLinks = <...>" naming the items in order, ending its line: a
// name starting with "|" begins a group, one ending in "-" is a link not recently used.
inline String ItemLinksText(const std::vector<String>& Names)
{
  String text = L"      ItemLinks = <";
  for (String name : Names) {
    text += L"\n        item\n";
    if (!name.empty() && name.front() == L'|') {
      name.erase(0, 1);
      text += L"          BeginGroup = True\n";
    }
    const bool rare = !name.empty() && name.back() == L'-';
    if (rare)
      name.pop_back();
    text += L"          Visible = True\n          ItemName = '" + name + L"'\n";
    if (rare)
      text += L"          MostRecentlyUsed = False\n";
    text += L"        end";
  }
  return text + L">\n";
}

template <class T>
T* Find(TComponent* Form, const wchar_t* Name)
{
  return dynamic_cast<T*>(Form->FindComponent(Name));
}

// The form's bar manager, by the name form data gives it.
inline TdxBarManager* ManagerOf(TComponent* Form)
{
  return Find<TdxBarManager>(Form, L"dxBarManager1");
}

// Reads Text as a form of class TFormClass and checks it, writes it, reads the written text
// and checks that too, and expects it to write the same text again; returns the text.
template <class TFormClass, class TCheck>
String ExpectFormRoundTrip(const String& Text, TCheck Check)
{
  String written;
  {
    TOwned<TFormClass> form(TCustomForm::CreateFromText<TFormClass>(Text, nullptr));
    SCOPED_TRACE("as read");
    Check(form.Get());
    written = ComponentToText(form.Get());
  }
  TOwned<TFormClass> again(TCustomForm::CreateFromText<TFormClass>(written, nullptr));
  SCOPED_TRACE("as written and read back");
  Check(again.Get());
  EXPECT_EQ(ComponentToText(again.Get()), written);
  return written;
}
