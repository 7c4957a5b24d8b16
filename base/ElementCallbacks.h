#pragma once

#include <cstdint>

// Ready-made element callbacks for the array engine (base/tCollectionHelper.h).
// Destroy callbacks take the storage, an index and the element size; compare
// callbacks take element addresses. Empty elements (null objects, strings
// without text, buffers without bytes) sort after everything else.

// ---- Elements that are object pointers (tObject* and derived) ----

// DestroyObject of the pointer at the index; the slot becomes null.
void DestroyObjectElement(void* storage, int32_t index, int32_t elementSize);
// Null sorts last; else the first object's Compare(second).
int CompareObjectElements(const void* first, const void* second);
// A key against an object element: a null key is -1 against an object and 0
// against null; a null element gives 1; else the negated answer of the
// element's CompareKey(key), so the answer reads as "key minus element".
int CompareKeyToObjectElement(const void* key, const void* element);

// ---- Elements that are tString values ----

// Frees the string's text and zeroes its counts.
void DestroyStringElement(void* storage, int32_t index, int32_t elementSize);
// Case-insensitive comparison of the texts; a string without text sorts last.
int CompareStringElements(const void* first, const void* second);

// ---- Elements that are tBuffer values ----

// Frees the buffer's bytes and zeroes its length.
void DestroyBufferElement(void* storage, int32_t index, int32_t elementSize);
// Byte comparison over the shorter length; a buffer without bytes sorts last.
int CompareBufferElements(const void* first, const void* second);

// ---- Elements that are signed 32-bit integers ----

// The sign of first minus second, without the overflow of a plain subtraction.
int CompareIntElements(const void* first, const void* second);
