// The system's printers through the spooler.
#include "platform/Printers.h"

#include <winspool.h>

#include <memory>
#include <vector>

IMPLEMENT_CLASS(EPrinter, Exception)
IMPLEMENT_CLASS(TPrinter, TObject)

namespace {

// The default printer's name; empty without one.
String DefaultPrinterName()
{
  DWORD size = 0;
  ::GetDefaultPrinterW(nullptr, &size);
  if (size == 0)
    return String();
  std::vector<wchar_t> name(size);
  if (!::GetDefaultPrinterW(name.data(), &size))
    return String();
  return String(name.data());
}

}  // namespace

TPrinter::TPrinter() : FPrinters(new TStringList()) {}

TPrinter::~TPrinter()
{
  FreeHandle();
  delete FPrinters;
}

void TPrinter::ReadPrinters()
{
  FRead = true;
  FPrinters->Clear();
  FPrinterIndex = -1;
  const DWORD flags = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
  DWORD needed = 0, count = 0;
  ::EnumPrintersW(flags, nullptr, 4, nullptr, 0, &needed, &count);
  if (needed == 0)
    return;
  std::vector<BYTE> buffer(needed);
  if (!::EnumPrintersW(flags, nullptr, 4, buffer.data(), needed, &needed, &count))
    return;
  const auto* info = reinterpret_cast<const PRINTER_INFO_4W*>(buffer.data());
  for (DWORD i = 0; i < count; ++i)
    if (info[i].pPrinterName && *info[i].pPrinterName)
      FPrinters->Add(info[i].pPrinterName);
  if (FPrinters->Count() > 0)
    FPrinterIndex = std::max(0, FPrinters->IndexOf(DefaultPrinterName()));
}

TStrings* TPrinter::GetPrinters()
{
  if (!FRead)
    ReadPrinters();
  return FPrinters;
}

int TPrinter::GetPrinterIndex()
{
  GetPrinters();
  return FPrinterIndex;
}

void TPrinter::SetPrinterIndex(int Value)
{
  const int count = GetPrinters()->Count();
  if (Value == -1)
    Value = count > 0 ? std::max(0, FPrinters->IndexOf(DefaultPrinterName())) : -1;
  else if (Value < 0 || Value >= count)
    throw EPrinter(L"Printer selected is not valid");
  if (Value == FPrinterIndex)
    return;
  FreeHandle();
  FPrinterIndex = Value;
}

HDC TPrinter::GetHandle()
{
  if (FHandle)
    return FHandle;
  const int index = GetPrinterIndex();
  if (index < 0)
    throw EPrinter(L"There is no default printer currently selected");
  FHandle = ::CreateDCW(L"WINSPOOL", FPrinters->Get(index).c_str(), nullptr, nullptr);
  if (!FHandle)
    throw EPrinter(L"The device context of printer \"" + FPrinters->Get(index) + L"\" cannot be made");
  return FHandle;
}

void TPrinter::Refresh()
{
  FreeHandle();
  ReadPrinters();
}

void TPrinter::FreeHandle()
{
  if (FHandle)
    ::DeleteDC(FHandle);
  FHandle = nullptr;
}

TPrinter* Printer()
{
  static std::unique_ptr<TPrinter> printer(new TPrinter());
  return printer.get();
}
