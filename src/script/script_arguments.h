// Reading the page's arguments: which of them a method may use, checked before any is read.
#ifndef NPDESKLAUNCH_SCRIPT_SCRIPT_ARGUMENTS_H
#define NPDESKLAUNCH_SCRIPT_SCRIPT_ARGUMENTS_H

#include "common/wide_text.h"
#include "npapi/npapi.h"

// The first argument's string, or null when there is no argument or it is not a string.
const NPString* StringArgument(const NPVariant* args, uint32_t argCount);

// The page's function when it is the one and only argument and an object; null otherwise.
NPObject* CallbackArgument(const NPVariant* args, uint32_t argCount);

// Code units of a page's path argument that decide everything: a text of this many units or
// more fits no path buffer, and the failure message never shows more.
const size_t kArgumentUnitsNeeded = kPathCapacity;

// Where to end a piece of at most `nMax` of the `nLength` UTF-8 bytes at `bytes`, so that no
// sequence of a well-formed text is split: the cut moves back over at most three continuation
// bytes. Ends at `nLength` when that is within reach.
size_t Utf8PieceLength(const char* bytes, size_t nLength, size_t nMax);

// "没找到指定的程序" followed by the text without its layout characters (common/shown_text.h),
// cut so that the message fits a path buffer.
WideString FormatLaunchFailureMessage(const WideString& wstrText);

#endif
