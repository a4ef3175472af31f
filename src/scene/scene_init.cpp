// scene_init.cpp - the scene's first state.
//
// Steps run in a fixed order: the texture loads hand out GL names in call
// order, so the order decides which name each slot gets. Positions, dress
// and the light path are data tables below.
#include "scene/scene_init.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "core/app_state.h"
#include "audio/music_control.h"
#include "base/data_folder.h"
#include "gfx/texture_loader.h"

namespace {

// ------------------------------------------------------------- data
struct Placement { float x, y, z; };

// Persons 0 to 4 on the stage; 5 to 44 follow in rows behind it.
constexpr Placement kStagePlacements[5] = {
    {0, 0, 0}, {10, 0, -10}, {-10, 0, -10}, {20, 0, -20}, {-20, 0, -20},
};
constexpr int kBackRowLength = 10;

struct Dress { int person; bool isMale; float scale; };
constexpr Dress kDresses[] = {
    {1, false, 1.0f},
    {2, false, 0.9f},
    {4, true, 0.9f},
};
constexpr int kDarkSkinned[] = {2, 3};

struct LightKey { float x, y, z; int steps; };
constexpr Placement kLightStart = {0, 5, -5};
constexpr LightKey kLightPath[] = {
    {10, 10, -10, 1000},
    {-10, 10, -10, 1000},
    {-10, 15, -15, 1000},
    {10, 20, -20, 1000},
    {10, 30, -30, 500},
    {30, 40, -20, 500},
};

constexpr GLfloat kMaterialSpecular[4] = {0.2f, 0.2f, 0.2f, 0.9f};
constexpr GLfloat kMaterialShininess = 0.1f;
constexpr GLfloat kAmbient[4] = {0.3f, 0.3f, 0.3f, 1.0f};
constexpr GLfloat kLight0Diffuse[4] = {1, 1, 1, 1};
constexpr GLfloat kLight0Specular[4] = {0.2f, 0.2f, 0.2f, 0.9f};
constexpr GLfloat kLight1Position[4] = {150, 150, 150, 1};
constexpr GLfloat kLight1Diffuse[4] = {1, 1, 1, 0.2f};
constexpr GLfloat kLight2Position[4] = {20, 50, 10, 0};
constexpr GLfloat kLight2Diffuse[4] = {1, 1, 0.5f, 1};
constexpr GLfloat kLight3Position[4] = {0, 0, -10, 0};
constexpr GLfloat kLight3Diffuse[4] = {0.2f, 0.2f, 0.8f, 0.5f};

// ------------------------------------------------------------- GL steps
void loadTextures() {
    for (int slot : kTextureLoadOrder)
        app.textures[slot] = loadTexture(dataFile(kTextureFiles[slot]).c_str());
}

void configureQuadric() {
    if (!app.quadric) app.quadric = gluNewQuadric();
    gluQuadricDrawStyle(app.quadric, GLU_FILL);
    gluQuadricNormals(app.quadric, GLU_SMOOTH);
    gluQuadricTexture(app.quadric, GL_TRUE);
}

}  // namespace

void setFixedGlState() {
    for (GLenum face : {GL_FRONT, GL_BACK}) {
        glMaterialfv(face, GL_SPECULAR, kMaterialSpecular);
        glMaterialf(face, GL_SHININESS, kMaterialShininess);
    }
    glLightfv(GL_LIGHT0, GL_DIFFUSE, kLight0Diffuse);
    glLightfv(GL_LIGHT0, GL_SPECULAR, kLight0Specular);
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, kAmbient);
    glEnable(GL_LIGHT0);
    glLightfv(GL_LIGHT1, GL_POSITION, kLight1Position);
    glLightfv(GL_LIGHT1, GL_DIFFUSE, kLight1Diffuse);
    glEnable(GL_LIGHT1);
    glLightfv(GL_LIGHT2, GL_POSITION, kLight2Position);
    glLightfv(GL_LIGHT2, GL_DIFFUSE, kLight2Diffuse);
    glLightfv(GL_LIGHT3, GL_POSITION, kLight3Position);
    glLightfv(GL_LIGHT3, GL_DIFFUSE, kLight3Diffuse);
    glEnable(GL_LIGHTING);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_COLOR_MATERIAL);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glShadeModel(GL_SMOOTH);
    glColorMaterial(GL_FRONT, GL_AMBIENT_AND_DIFFUSE);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glClearColor(1, 1, 1, 1);
    glColor3f(1, 1, 1);
}

// ------------------------------------------------------------- GL-free steps
void placeAndDressPersons() {
    for (int i = 0; i < 5; i++) {
        const Placement& p = kStagePlacements[i];
        app.persons[i].setPosition(p.x, p.y, p.z);
    }
    for (int i = 5; i < MAX_PERSONS; i++) {
        const int column = (i - 5) % kBackRowLength;
        const int row = (i - 5) / kBackRowLength;
        app.persons[i].setPosition(static_cast<float>(50 - 10 * column), 0,
                                   static_cast<float>(-30 - 10 * row));
    }
    for (const Dress& d : kDresses) app.persons[d.person].setGender(d.isMale, d.scale);
    for (int i : kDarkSkinned) app.persons[i].setSkin(TEX_SKIN_DARK);
}

void configureLogoBlock() {
    app.logoBlock.reset();
    app.logoBlock.setFaceTextures(TEX_LOGO, TEX_LOGO_SIDES, TEX_LOGO_SIDES, TEX_LOGO_SIDES,
                                  TEX_LOGO_SIDES, TEX_LOGO_SIDES);
    app.logoBlock.setScale(6, 5, 2);
}

void setLightPath() {
    KeyFrameAnimation& light = app.sceneLight;
    light.setValue(kLightStart.x, kLightStart.y, kLightStart.z);
    for (const LightKey& k : kLightPath) light.pushKeyFrame(k.x, k.y, k.z, ABS, k.steps);
    light.setCycle(true);
    light.computeTimes();
}

void placeCamera() { app.camera.setEye(0, 5, 20); }

// ------------------------------------------------------------- start-up
namespace {

void initSceneSteps(bool withMusic) {
    loadTextures();
    placeAndDressPersons();
    configureQuadric();
    configureLogoBlock();
    if (withMusic) startIntroMusic();
    setLightPath();
    placeCamera();
    setFixedGlState();
}

}  // namespace

void initScene() { initSceneSteps(true); }

void initSceneSilently() { initSceneSteps(false); }
