// Exceptions and formatting. Every failure of the layer and of the library above is
// an Exception carrying its message; the application's handler shows it.
#pragma once

#include <exception>
#include <variant>

#include "platform/Scope.h"
#include "platform/System.h"

class Exception : public TObject, public std::exception {
  DECLARE_CLASS(Exception, TObject)
public:
  explicit Exception(String message) : FMessage(std::move(message)) {}
  // Thrown objects must be copyable; the object identity of TObject does not matter here.
  Exception(const Exception& other) : TObject(), std::exception(other), FMessage(other.FMessage), FNarrow(other.FNarrow)
  {
  }
  const String& Message() const { return FMessage; }
  void SetMessage(const String& message);
  const char* what() const noexcept override { return FNarrow.c_str(); }

private:
  String FMessage;
  std::string FNarrow = ToUtf8(FMessage);
};

#define DECLARE_EXCEPTION(E, Base) \
  class E : public Base {          \
    DECLARE_CLASS(E, Base)         \
  public:                          \
    using Base::Base;              \
  };

// The silent exception: aborts an operation without a message box.
DECLARE_EXCEPTION(EAbort, Exception)
DECLARE_EXCEPTION(EConvertError, Exception)
DECLARE_EXCEPTION(EListError, Exception)
DECLARE_EXCEPTION(EStringListError, Exception)
DECLARE_EXCEPTION(EComponentError, Exception)
DECLARE_EXCEPTION(EInvalidOperation, Exception)
DECLARE_EXCEPTION(EInvalidCast, Exception)
DECLARE_EXCEPTION(ERangeError, Exception)
DECLARE_EXCEPTION(EOutOfResources, Exception)
DECLARE_EXCEPTION(EOSError, Exception)
DECLARE_EXCEPTION(EStreamError, Exception)
DECLARE_EXCEPTION(EFOpenError, EStreamError)
DECLARE_EXCEPTION(EFCreateError, EStreamError)
DECLARE_EXCEPTION(EReadError, EStreamError)
DECLARE_EXCEPTION(EWriteError, EStreamError)
DECLARE_EXCEPTION(EFilerError, EStreamError)
DECLARE_EXCEPTION(EClassNotFound, EFilerError)
DECLARE_EXCEPTION(EMethodNotFound, EFilerError)
DECLARE_EXCEPTION(EInvalidImage, EFilerError)
DECLARE_EXCEPTION(EResNotFound, Exception)
DECLARE_EXCEPTION(EIniFileException, Exception)
DECLARE_EXCEPTION(ERegistryException, Exception)
DECLARE_EXCEPTION(EThread, Exception)
DECLARE_EXCEPTION(EInvalidGraphic, Exception)
DECLARE_EXCEPTION(EInvalidGraphicOperation, Exception)
DECLARE_EXCEPTION(EPropertyError, Exception)

// Raises EAbort.
[[noreturn]] void Abort();

// One argument of Format: integers, floats, texts and pointers.
using TFormatArg = std::variant<int64_t, double, String, const void*>;
struct TVarRec {
  TFormatArg Value;
  TVarRec(int v) : Value(int64_t(v)) {}
  TVarRec(unsigned v) : Value(int64_t(v)) {}
  TVarRec(long v) : Value(int64_t(v)) {}
  TVarRec(unsigned long v) : Value(int64_t(v)) {}
  TVarRec(long long v) : Value(int64_t(v)) {}
  TVarRec(unsigned long long v) : Value(int64_t(v)) {}
  TVarRec(double v) : Value(v) {}
  TVarRec(const String& v) : Value(v) {}
  TVarRec(const wchar_t* v) : Value(String(v ? v : L"")) {}
  TVarRec(const void* v) : Value(v) {}
};

// The platform's Format: %s %d %u %x %f %g %e %n %m %p %%, with index ("%1:s"), width,
// "-" and precision, each of them may be "*" (taken from the arguments); a missing or
// mismatched argument raises EConvertError. Numbers use the invariant form: "." as the
// decimal point, "," between thousands (%n, %m) and "$" as the currency sign ("-$1.00").
// %x and %u show a negative 32-bit value in 32 bits (-1 gives FFFFFFFF), as a caller
// passing an int expects; other negative values in 64 bits.
String Format(const String& format, std::initializer_list<TVarRec> args);

// Conversions; the StrTo forms raise EConvertError naming the text. Integers are decimal
// or hexadecimal with "$" or "0x", optionally signed; blanks around the digits are
// rejected. Floats use "." whatever the locale; FloatToStr gives the shortest text that
// reads back to the same value ("0.1", "1E20", "NAN", "INF"). StrToBool takes "True",
// "False" (any case) or a number (nonzero is true).
int32_t StrToInt(const String& s);
int64_t StrToInt64(const String& s);
int32_t StrToIntDef(const String& s, int32_t def);
bool TryStrToInt(const String& s, int32_t& value);
bool TryStrToInt64(const String& s, int64_t& value);
double StrToFloat(const String& s);
bool TryStrToFloat(const String& s, double& value);
String FloatToStr(double value);
bool StrToBool(const String& s);
bool TryStrToBool(const String& s, bool& value);
String BoolToStr(bool value, bool useBoolStrs = false);
int64_t StrToInt64Def(const String& s, int64_t def);
double StrToFloatDef(const String& s, double def);
// The value of one hexadecimal digit in either case, or -1 for any other character.
int HexDigitValue(wchar_t ch);

// File names. Path delimiters are "\" and "/"; a drive's ":" ends the path part too.
String ExtractFilePath(const String& FileName);  // with the trailing delimiter
String ExtractFileDir(const String& FileName);   // without it
String ExtractFileName(const String& FileName);
String ExtractFileExt(const String& FileName);  // with the dot; empty when there is none
String ChangeFileExt(const String& FileName, const String& Extension);
String IncludeTrailingPathDelimiter(const String& Path);
String ExcludeTrailingPathDelimiter(const String& Path);
bool FileExists(const String& FileName);
bool DirectoryExists(const String& Directory);
#ifdef DeleteFile
#undef DeleteFile  // the Windows macro would rename this function where <windows.h> came first
#endif
bool DeleteFile(const String& FileName);

// Dates and times: whole days since 30 December 1899, the time of day as the fraction (a
// day before that date counts its time of day away from it: -1.25 is 29 December 1899, 6:00).
using TDateTime = double;

// The application's date and time formats in the platform's letters (see FormatDateTime),
// with the names and separators they write. Read from the user's locale on first use, which
// InitializeForms makes as the program starts; the program may change them.
struct TFormatSettings {
  String ShortDateFormat;
  String LongTimeFormat;
  String ShortTimeFormat;
  wchar_t DateSeparator = L'/';
  wchar_t TimeSeparator = L':';
  String TimeAMString;
  String TimePMString;
  String ShortMonthNames[12];
  String LongMonthNames[12];
  // Sunday first.
  String ShortDayNames[7];
  String LongDayNames[7];
};
TFormatSettings& FormatSettings();
// The formats of a locale (LOCALE_USER_DEFAULT, the thread's, ...).
TFormatSettings LocaleFormatSettings(uint32_t Locale);
// A locale's date or time picture ("dd.MM.yyyy", "h:mm:ss tt") in the platform's letters
// ("dd.mm.yyyy", "h:nn:ss ampm"); the locale's literal texts are quoted.
String LocaleFormatToPlatform(const String& Picture, bool ATime);

// Writes Value by Format: d dd (day), ddd dddd (day names), ddddd (short date), m mm
// (month, or minutes right after an hour), mmm mmmm (month names), yy yyyy, h hh (hours,
// 12-hour with an am/pm letter pair), n nn (minutes), s ss, z zzz (milliseconds), t tt
// (short and long time), c (short date, then the long time when Value has a time of day),
// ampm am/pm a/p, / and : (the separators), "..." and '...' (literal); anything else as it
// stands. Letters are read without regard to case, apart from the case kept by am/pm, a/p.
String FormatDateTime(const String& Format, TDateTime Value, const TFormatSettings& Settings = FormatSettings());

// The system's text for an error code, without the trailing full stop and line break.
String SysErrorMessage(uint32_t ErrorCode);
// The calling thread's last error code (GetLastError).
uint32_t GetLastOSError();
// Raises EOSError with the code and the system's text for it.
[[noreturn]] void RaiseLastOSError();
[[noreturn]] void RaiseLastOSError(uint32_t ErrorCode);

// Exceptions that reach a window procedure, hook, timer or thread go here instead of
// unwinding into the system. The application plugs its HandleException in; until then the
// message is written to stderr. Call HandleUnexpectedException only inside a catch block.
using TUnexpectedExceptionHandler = std::function<void(TObject* Sender)>;
// Installs Handler (nil restores the default) and returns the previous one.
TUnexpectedExceptionHandler SetUnexpectedExceptionHandler(TUnexpectedExceptionHandler Handler);
void HandleUnexpectedException(TObject* Sender = nullptr);
// The message of the exception in flight (inside a catch block), for handlers.
String CurrentExceptionMessage();

// Runs Body between Target.BeginUpdate() and Target.EndUpdate(), so that change events
// fire once. EndUpdate runs when Body raises, too, by the rule of TFinally: what the events
// it fires raise reaches the caller, unless Body's own exception is already on its way.
template <class T, class F>
void WithUpdate(T& Target, F&& Body)
{
  Target.BeginUpdate();
  TFinally end([&Target] { Target.EndUpdate(); });
  Body();
}

// A checked cast that raises EInvalidCast: the "as" operator.
template <class T, class S>
T* As(S* object)
{
  if (!object)
    return nullptr;
  if (T* result = dynamic_cast<T*>(object))
    return result;
  throw EInvalidCast(L"Invalid class typecast");
}
