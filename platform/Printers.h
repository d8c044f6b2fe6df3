// The system's printers: their names, the one in use (the user's default until the program
// picks another) and a device context for it, from which its fonts and sizes are read.
#pragma once

#include "platform/Strings.h"
#include "platform/SysUtils.h"
#include "platform/Win.h"

DECLARE_EXCEPTION(EPrinter, Exception)

class TPrinter : public TObject {
  DECLARE_CLASS(TPrinter, TObject)
public:
  TPrinter();
  ~TPrinter() override;

  // The names of the printers installed and connected; empty without any. Read on first use
  // and again after Refresh.
  TStrings* GetPrinters();
  // The printer in use: the default printer's index, else the first; -1 without printers.
  int GetPrinterIndex();
  // Raises EPrinter for an index outside the list; -1 goes back to the default printer.
  void SetPrinterIndex(int Value);
  // A device context of the printer in use, kept until the printer changes; raises EPrinter
  // without printers or when the system cannot make one.
  HDC GetHandle();
  // Reads the list again (a printer added or removed) and goes back to the default printer.
  void Refresh();

private:
  void ReadPrinters();
  void FreeHandle();

  TStringList* FPrinters = nullptr;
  bool FRead = false;
  int FPrinterIndex = -1;
  HDC FHandle = nullptr;
};

// The program's printer object, made on first use.
TPrinter* Printer();
