#pragma once

class ControlChannel;
class MatrixSimulator;

// Control-port commands that act on the matrix as its front panel would, and query its routes.
namespace MatrixPanelControls {
void registerControls(ControlChannel& channel, MatrixSimulator& matrix);
}
