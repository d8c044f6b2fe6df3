// TcxRegion: an owned GDI region with the four combine operations.
#include "lookandfeel/cxGraphics.h"

IMPLEMENT_CLASS(TcxRegion, TObject)

namespace {

HRGN NewRegion(int L, int T, int R, int B)
{
  HRGN region = TrackGdiObject(CreateRectRgn(L, T, R, B));
  if (!region)
    throw EOutOfResources(L"Out of system resources");
  return region;
}

}  // namespace

TcxRegion::TcxRegion() : FHandle(NewRegion(0, 0, 0, 0)) {}

TcxRegion::TcxRegion(const TRect& R) : FHandle(NewRegion(R.left, R.top, R.right, R.bottom)) {}

TcxRegion::TcxRegion(int ALeft, int ATop, int ARight, int ABottom) : FHandle(NewRegion(ALeft, ATop, ARight, ABottom)) {}

TcxRegion::TcxRegion(HRGN AHandle)
{
  if (AHandle)
    FHandle = TrackGdiObject(AHandle);
  else
    FHandle = NewRegion(0, 0, 0, 0);
}

TcxRegion::~TcxRegion()
{
  DeleteGdiObject(FHandle);
}

bool TcxRegion::IsEmpty() const
{
  RECT r{};
  return GetRgnBox(FHandle, &r) == NULLREGION;
}

TRect TcxRegion::GetBoundsRect() const
{
  RECT r{};
  if (GetRgnBox(FHandle, &r) == NULLREGION)
    return Rect(0, 0, 0, 0);
  return r;
}

bool TcxRegion::IsEqual(const TcxRegion* ARegion) const
{
  if (!ARegion)
    return IsEmpty();
  return EqualRgn(FHandle, ARegion->FHandle) != FALSE;
}

bool TcxRegion::PtInRegion(const TPoint& P) const
{
  return ::PtInRegion(FHandle, P.x, P.y) != FALSE;
}

void TcxRegion::Combine(TcxRegion* ARegion, TcxRegionOperation AOperation, bool ADestroyRegion)
{
  HRGN other = ARegion ? ARegion->FHandle : nullptr;
  switch (AOperation) {
    case roSet:
      if (other)
        CombineRgn(FHandle, other, nullptr, RGN_COPY);
      else
        SetRectRgn(FHandle, 0, 0, 0, 0);
      break;
    case roAdd:
      if (other)
        CombineRgn(FHandle, FHandle, other, RGN_OR);
      break;
    case roSubtract:
      if (other)
        CombineRgn(FHandle, FHandle, other, RGN_DIFF);
      break;
    case roIntersect:
      if (other)
        CombineRgn(FHandle, FHandle, other, RGN_AND);
      else
        SetRectRgn(FHandle, 0, 0, 0, 0);
      break;
  }
  if (ADestroyRegion && ARegion && ARegion != this)
    ARegion->Free();
}

void TcxRegion::Offset(int DX, int DY)
{
  OffsetRgn(FHandle, DX, DY);
}
