// scene_init.h - puts the scene into its first state, once, at start-up.
#pragma once

// Loads the textures, places and dresses the persons, configures the shared
// quadric and the logo block, starts the intro music, gives the light its
// path, places the camera and sets the fixed GL state. Needs the window's GL
// context to be current.
void initScene();

// The same without the music: a render to a file makes no sound.
void initSceneSilently();

// The GL-free steps, for tests: persons placed and dressed; the logo block;
// the light's cycling path; the camera's eye.
void placeAndDressPersons();
void configureLogoBlock();
void setLightPath();
void placeCamera();

// The fixed GL state of the run: materials, lights, blending, clear colour.
void setFixedGlState();
