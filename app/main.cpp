// The game's entry: one 600 x 600 window, the callbacks, the reset, and the
// toolkit's main loop, which runs until the window is closed.
#include <GL/freeglut.h>

#include "controls.h"
#include "render.h"
#include "shell.h"
#include "sim.h"
#include "world.h"

// Hands the command line to the toolkit, opens the window and plays.
int main(int argc, char** argv) {
    keepFreedMemory();
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(600, 600);
    glutCreateWindow("Zarvel");
    // A held key gives one press and one release, not a stream of both.
    glutIgnoreKeyRepeat(1);
    glutReshapeFunc(reshape);
    glutIdleFunc(idleStep);
    glutSpecialFunc(special);
    glutSpecialUpFunc(specialUp);
    glutKeyboardFunc(keyboard);
    glutKeyboardUpFunc(keyboardUp);
    glutDisplayFunc(display);
    newGame();
    if (world.hasJoystick != 0) glutJoystickFunc(joystickInput, 10);
    glutMainLoop();
    return 0;
}
