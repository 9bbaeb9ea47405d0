// SPDX-License-Identifier: MIT
// The OpenGL 1.1, GLU and freeglut calls the game makes, as the browser game
// provides them (web/gl.js and web/glut.js): the names, values and
// signatures of those libraries, so that the game's sources build unchanged.
#pragma once

typedef unsigned int GLenum;
typedef unsigned int GLbitfield;
typedef unsigned char GLboolean;
typedef unsigned char GLubyte;
typedef int GLint;
typedef int GLsizei;
typedef float GLfloat;
typedef double GLdouble;
typedef void GLvoid;

#define GL_TRIANGLE_STRIP 0x0005
#define GL_DEPTH_BUFFER_BIT 0x0100
#define GL_COLOR_BUFFER_BIT 0x4000
#define GL_FRONT 0x0404
#define GL_BACK 0x0405
#define GL_FRONT_AND_BACK 0x0408
#define GL_LIGHTING 0x0B50
#define GL_DEPTH_TEST 0x0B71
#define GL_NORMALIZE 0x0BA1
#define GL_UNPACK_ALIGNMENT 0x0CF5
#define GL_PACK_ALIGNMENT 0x0D05
#define GL_UNSIGNED_BYTE 0x1401
#define GL_FLOAT 0x1406
#define GL_RGB 0x1907
#define GL_RGBA 0x1908
#define GL_AMBIENT 0x1200
#define GL_DIFFUSE 0x1201
#define GL_SPECULAR 0x1202
#define GL_POSITION 0x1203
#define GL_EMISSION 0x1600
#define GL_SHININESS 0x1601
#define GL_AMBIENT_AND_DIFFUSE 0x1602
#define GL_MODELVIEW 0x1700
#define GL_PROJECTION 0x1701
#define GL_FLAT 0x1D00
#define GL_SMOOTH 0x1D01
#define GL_LIGHT0 0x4000
#define GL_VERTEX_ARRAY 0x8074
#define GL_NORMAL_ARRAY 0x8075

#define GLUT_RGBA 0x0000
#define GLUT_DOUBLE 0x0002
#define GLUT_DEPTH 0x0010
#define GLUT_HAS_JOYSTICK 0x0264
#define GLUT_KEY_LEFT 0x0064
#define GLUT_KEY_UP 0x0065
#define GLUT_KEY_RIGHT 0x0066
#define GLUT_KEY_DOWN 0x0067
#define GLUT_BITMAP_HELVETICA_18 ((void*)0x0008)

#ifdef __cplusplus
extern "C" {
#endif

void glBegin(GLenum mode);
void glClear(GLbitfield mask);
void glClearColor(GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha);
void glColor3f(GLfloat red, GLfloat green, GLfloat blue);
void glDisable(GLenum cap);
void glDisableClientState(GLenum array);
void glDrawArrays(GLenum mode, GLint first, GLsizei count);
void glEnable(GLenum cap);
void glEnableClientState(GLenum array);
void glEnd(void);
void glFinish(void);
void glLightfv(GLenum light, GLenum pname, const GLfloat* params);
void glLoadIdentity(void);
void glMaterialf(GLenum face, GLenum pname, GLfloat param);
void glMaterialfv(GLenum face, GLenum pname, const GLfloat* params);
void glMatrixMode(GLenum mode);
void glNormal3f(GLfloat nx, GLfloat ny, GLfloat nz);
void glNormalPointer(GLenum type, GLsizei stride, const GLvoid* pointer);
void glPixelStorei(GLenum pname, GLint param);
void glRasterPos3f(GLfloat x, GLfloat y, GLfloat z);
void glReadBuffer(GLenum mode);
void glReadPixels(GLint x, GLint y, GLsizei width, GLsizei height, GLenum format, GLenum type,
                  GLvoid* pixels);
void glRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z);
void glShadeModel(GLenum mode);
void glTranslated(GLdouble x, GLdouble y, GLdouble z);
void glTranslatef(GLfloat x, GLfloat y, GLfloat z);
void glVertex3f(GLfloat x, GLfloat y, GLfloat z);
void glVertexPointer(GLint size, GLenum type, GLsizei stride, const GLvoid* pointer);
void glViewport(GLint x, GLint y, GLsizei width, GLsizei height);

void gluLookAt(GLdouble eyeX, GLdouble eyeY, GLdouble eyeZ, GLdouble centreX, GLdouble centreY,
               GLdouble centreZ, GLdouble upX, GLdouble upY, GLdouble upZ);
void gluPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar);

void glutInit(int* argc, char** argv);
void glutInitDisplayMode(unsigned int mode);
void glutInitWindowSize(int width, int height);
int glutCreateWindow(const char* title);
void glutIgnoreKeyRepeat(int ignore);
void glutReshapeFunc(void (*callback)(int width, int height));
void glutIdleFunc(void (*callback)(void));
void glutSpecialFunc(void (*callback)(int key, int x, int y));
void glutSpecialUpFunc(void (*callback)(int key, int x, int y));
void glutKeyboardFunc(void (*callback)(unsigned char key, int x, int y));
void glutKeyboardUpFunc(void (*callback)(unsigned char key, int x, int y));
void glutDisplayFunc(void (*callback)(void));
void glutJoystickFunc(void (*callback)(unsigned int buttons, int x, int y, int z), int pollMs);
int glutDeviceGet(GLenum query);
void glutMainLoop(void);
void glutMainLoopEvent(void);
void glutForceJoystickFunc(void);
void glutPostRedisplay(void);
void glutBitmapCharacter(void* font, int character);
void glutSwapBuffers(void);

#ifdef __cplusplus
}
#endif
