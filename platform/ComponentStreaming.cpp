// TComponent's part in form data: reading and writing its own block.
#include "platform/Filer.h"

void TComponent::ReadState(TReader* Reader)
{
  Reader->ReadData(this);
}

void TComponent::WriteState(TWriter* Writer)
{
  Writer->WriteData(this);
}
