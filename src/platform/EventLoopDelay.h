#pragma once

// Waits ms milliseconds while the event loop keeps running: slots may run re-entrantly.
void delayMs(int ms);
