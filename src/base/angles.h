// angles.h - degree and radian factors, shared by the camera and posing.
#pragma once

// As the single-precision values the maths is tuned to (not pi / 180 exactly:
// stored poses and camera paths were made with these).
constexpr float degToRad = 0.0174533f;
constexpr float radToDeg = 57.2958f;
