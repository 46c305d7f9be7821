#pragma once
// What standard error is attached to, for output that redraws one line in place on a
// terminal and writes plain lines into files and pipes.
namespace kiv {

bool StandardErrorIsTerminal();
// The terminal's width in columns; 80 when it cannot be told.
int StandardErrorColumns();

}  // namespace kiv
