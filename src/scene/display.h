// display.h - the GLUT display callback.
#pragma once

// Draws one complete frame from the current state and swaps buffers.
void display();
