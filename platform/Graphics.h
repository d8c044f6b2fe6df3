// The graphics half of the class layer in one include: colours, fonts, brushes and pens
// (GraphicsObjects.h), the canvas (Canvas.h) and pictures (Bitmap.h). Image lists are in
// ImgList.h.
#pragma once

#include "platform/GraphicsObjects.h"
#include "platform/Canvas.h"
#include "platform/Bitmap.h"
