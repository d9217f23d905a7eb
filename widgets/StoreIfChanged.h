#pragma once
// Library-internal helper of the property setters: they store and repaint only when the value changes.

// Stores value into field when they differ; true when it did.
template <typename T> bool StoreIfChanged(T& field, const T& value)
{
    if (field == value)
        return false;
    field = value;
    return true;
}
