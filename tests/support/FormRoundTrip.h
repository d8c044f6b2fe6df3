// Form data in tests: find what a read form holds, and read, write and read again.
#pragma once

#include <gtest/gtest.h>

#include "bars/model/manager.h"
#include "platform/Forms.h"
#include "support/Owned.h"

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
