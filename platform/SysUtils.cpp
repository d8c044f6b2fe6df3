#include "platform/SysUtils.h"

IMPLEMENT_CLASS(Exception, TObject)
IMPLEMENT_CLASS(EAbort, Exception)
IMPLEMENT_CLASS(EConvertError, Exception)
IMPLEMENT_CLASS(EListError, Exception)
IMPLEMENT_CLASS(EStringListError, Exception)
IMPLEMENT_CLASS(EComponentError, Exception)
IMPLEMENT_CLASS(EInvalidOperation, Exception)
IMPLEMENT_CLASS(EInvalidCast, Exception)
IMPLEMENT_CLASS(ERangeError, Exception)
IMPLEMENT_CLASS(EOutOfResources, Exception)
IMPLEMENT_CLASS(EOSError, Exception)
IMPLEMENT_CLASS(EStreamError, Exception)
IMPLEMENT_CLASS(EFOpenError, EStreamError)
IMPLEMENT_CLASS(EFCreateError, EStreamError)
IMPLEMENT_CLASS(EReadError, EStreamError)
IMPLEMENT_CLASS(EWriteError, EStreamError)
IMPLEMENT_CLASS(EFilerError, EStreamError)
IMPLEMENT_CLASS(EClassNotFound, EFilerError)
IMPLEMENT_CLASS(EMethodNotFound, EFilerError)
IMPLEMENT_CLASS(EInvalidImage, EFilerError)
IMPLEMENT_CLASS(EResNotFound, Exception)
IMPLEMENT_CLASS(EIniFileException, Exception)
IMPLEMENT_CLASS(ERegistryException, Exception)
IMPLEMENT_CLASS(EThread, Exception)
IMPLEMENT_CLASS(EInvalidGraphic, Exception)
IMPLEMENT_CLASS(EInvalidGraphicOperation, Exception)
IMPLEMENT_CLASS(EPropertyError, Exception)

void Exception::SetMessage(const String& message)
{
  FMessage = message;
  FNarrow = ToUtf8(message);
}

void Abort()
{
  throw EAbort(L"Operation aborted");
}
