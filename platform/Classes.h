// The non-visual class layer in one include: run-time classes, persistents and
// components, lists, strings, collections, streams and form data.
#pragma once

#include "platform/System.h"
#include "platform/SysUtils.h"
#include "platform/TypInfo.h"
#include "platform/Component.h"
#include "platform/Streams.h"
#include "platform/Filer.h"
#include "platform/Lists.h"
#include "platform/Strings.h"
#include "platform/Collection.h"
