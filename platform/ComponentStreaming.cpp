#include "platform/Filer.h"

// TEMPORARY until the form-data reader lands.
void TComponent::ReadState(TReader* Reader) {}
void TComponent::WriteState(TWriter* Writer) {}
