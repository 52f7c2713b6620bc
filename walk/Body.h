// The walking body's measures, in metres and seconds, as a person has them. The program has no
// clock: every movement is a fixed amount per frame at framesPerSecond.
#pragma once

struct BodyMeasures {
    double eyeHeight = 1.6;        // over the feet, standing
    double crouchEyeHeight = 1.0;  // crouching, under a low ceiling or with Page Down
    double headroom = 0.15;        // from the eye to the top of the head
    double radius = 0.25;          // half the body's width: nearer a face than this it cannot go
    double stepHeight = 0.35;      // the highest step climbed without a jump
    double walkSpeed = 1.4;        // per second; Shift walks fastFactor times as fast
    double fastFactor = 4.0;
    double jumpHeight = 0.5;      // Page Up, from the floor
    double gravity = 9.81;        // per second squared
    double terminalSpeed = 50.0;  // the fastest fall
    double riseSpeed = 2.4;       // how fast the eye rises from a crouch (it drops at once)
    double framesPerSecond = 75.0;
};
