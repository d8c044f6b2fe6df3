#include "FormsTestUtil.h"
#include <cstdio>
static void Try(TFormBorderStyle bs, bool hideFirst)
{
  auto* form = TCustomForm::CreateNew<TTestForm>(nullptr);
  form->SetBorderStyle(bs);
  form->Show();
  PumpPending();
  DWORD t2 = GetTickCount();
  if (hideFirst) ShowWindow(form->GetHandle(), SW_HIDE);
  DWORD t3 = GetTickCount();
  DestroyWindow(form->GetHandle());
  DWORD t4 = GetTickCount();
  form->Free();
  printf("bs %d hide %lu destroy %lu\n", int(bs), t3-t2, t4-t3);
}
TEST(Scratch, Timing)
{
  Try(bsSizeable, true);
  Try(bsSizeable, false);
  Try(bsNone, true);
  Try(bsToolWindow, true);
  Try(bsDialog, true);
}
