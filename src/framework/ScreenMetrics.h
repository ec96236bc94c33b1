#pragma once

// Width and height of the primary screen's available area, recorded once at start-up.
// Zero until then; readers fall back to the primary screen's available geometry.
extern int screenWidth;
extern int screenHeight;
