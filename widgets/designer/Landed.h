#pragma once
// TEMPORARY until every widget class has landed: which of the pending classes exist yet.

#if __has_include("ZLineEdit.h")
#include "ZLineEdit.h"
#define VELOUR_HAVE_ZLINEEDIT 1
#else
#define VELOUR_HAVE_ZLINEEDIT 0
#endif
#if __has_include("ZTrackBar.h")
#include "ZTrackBar.h"
#define VELOUR_HAVE_ZTRACKBAR 1
#else
#define VELOUR_HAVE_ZTRACKBAR 0
#endif
#if __has_include("ZItemList.h")
#include "ZItemList.h"
#define VELOUR_HAVE_ZITEMLIST 1
#else
#define VELOUR_HAVE_ZITEMLIST 0
#endif
#if __has_include("ZGridList.h")
#include "ZGridList.h"
#define VELOUR_HAVE_ZGRIDLIST 1
#else
#define VELOUR_HAVE_ZGRIDLIST 0
#endif
#if __has_include("ZTreeView.h")
#include "ZTreeView.h"
#define VELOUR_HAVE_ZTREEVIEW 1
#else
#define VELOUR_HAVE_ZTREEVIEW 0
#endif
#if __has_include("ZHourMinutePicker.h")
#include "ZHourMinutePicker.h"
#define VELOUR_HAVE_ZHOURMINUTEPICKER 1
#else
#define VELOUR_HAVE_ZHOURMINUTEPICKER 0
#endif
#if __has_include("ZTest.h")
#include "ZTest.h"
#define VELOUR_HAVE_ZTEST 1
#else
#define VELOUR_HAVE_ZTEST 0
#endif
