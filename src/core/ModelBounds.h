#pragma once

// The largest matrix model has 160 inputs and 160 outputs in 40 four-port slots. Nothing that a
// device reply or a data file describes may reach beyond it: larger numbers are ignored (with one
// warning per reply line or file) instead of growing the records and routes without limit.
namespace ModelBounds {

constexpr int MaxPorts = 160;
constexpr int MaxSlots = MaxPorts / 4;

// A 0-based port index of the largest model.
constexpr bool isPortIndex(int index)
{
    return index >= 0 && index < MaxPorts;
}

// A 1-based port number of the largest model, or 0 (the matrix's "no port").
constexpr bool isPortNumberOrZero(int number)
{
    return number >= 0 && number <= MaxPorts;
}

} // namespace ModelBounds
