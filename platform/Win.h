// The Windows headers, minus the macros that collide with this layer's member names
// (TCanvas::TextOut, TApplication::MessageBox, ...). Code here calls the W functions by
// their explicit names.
#pragma once

#include <windows.h>
#include <commctrl.h>

#undef RegisterClass
#undef UnregisterClass
#undef TextOut
#undef MessageBox
#undef LoadBitmap
#undef LoadCursor
#undef LoadIcon
#undef LoadString
#undef GetObject
#undef DrawText
#undef DrawTextEx
#undef DeleteFile
#undef CopyFile
#undef MoveFile
#undef FindText
#undef CreateFont
#undef GetClassName
#undef GetClassInfo
#undef CreateWindow
#undef GetMessage
#undef PostMessage
#undef SendMessage
#undef DispatchMessage
#undef PeekMessage
#undef DefWindowProc
#undef CallWindowProc
#undef SetProp
#undef GetProp
#undef RemoveProp
#undef GetCurrentTime
#undef Yield
#undef FindResource
#undef CreateEvent
#undef GetUserName
#undef GetTextMetrics
#undef EnumFonts
#undef ChooseColor
#undef ChooseFont
