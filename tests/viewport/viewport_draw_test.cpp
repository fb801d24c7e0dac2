// Pictures of a small fixed scene in every draw mode, compared with
// reference images. KINEMO_UPDATE_REFERENCES=1 writes the references
// instead (look at them before committing); every run leaves the pictures
// it drew as drawn_<case>.png in the working folder.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <cstdlib>
#include <ostream>
#include <string>

#include "imageio/qt_image_decoder.h"
#include "scene/rg_bone.h"
#include "scene/rg_mesh.h"
#include "scene/rg_scene.h"
#include "tests/app/qt_test_environment.h"
#include "viewport/gl_node_painter.h"
#include "viewport/gl_shared_lists.h"
#include "viewport/gl_viewport.h"
#include "viewport/scene_draw.h"

namespace {

void AddQuad(rgMesh* mesh, const vector3 (&c)[4], const vector3& normal) {
    const vector2 uv[4] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    int index[4];
    for (int k = 0; k < 4; ++k) {
        rgVertex v;
        v.position = c[k];
        v.normal = normal;
        v.texcoords = uv[k];
        index[k] = mesh->AddVertex(v, false);
    }
    mesh->AddFace(index[0], index[1], index[2]);
    mesh->AddFace(index[0], index[2], index[3]);
}

void AddTriangle(rgMesh* mesh, vector3 a, vector3 b, vector3 c) {
    vector3 n = (b - a).CrossProduct(c - a);
    n.norm();
    int index[3];
    const vector3 p[3] = {a, b, c};
    const vector2 uv[3] = {{0, 0}, {1, 0}, {0.5f, 1}};
    for (int k = 0; k < 3; ++k) {
        rgVertex v;
        v.position = p[k];
        v.normal = n;
        v.texcoords = uv[k];
        index[k] = mesh->AddVertex(v, false);
    }
    mesh->AddFace(index[0], index[1], index[2]);
}

struct DrawCase {
    const char* name;
    int projection;
    int drawMode;
    bool showVertices;
};

void PrintTo(const DrawCase& c, std::ostream* os) {
    *os << c.name;
}

const DrawCase kCases[] = {
    {"points", kProjPerspective, kDrawPoints, false},
    {"wireframe", kProjPerspective, kDrawWireframe, false},
    {"lit_wireframe", kProjPerspective, kDrawLitWireframe, false},
    {"flat_shaded", kProjPerspective, kDrawFlat, false},
    {"smooth_shaded", kProjPerspective, kDrawSmooth, false},
    {"textured", kProjPerspective, kDrawTextured, false},
    {"front_grid", kProjFront, kDrawSmooth, false},
    {"vertices", kProjPerspective, kDrawSmooth, true},
};

// A scene drawn offscreen through the real viewport and painter.
class DrawingFixture : public ::testing::Test {
protected:
    static void SetUpTestSuite() { EnsureQtApplication(); }

    QImage Draw(const DrawCase& c) {
        TGLSharedLists shared(context.textures);
        TGLViewport viewport(context.state, shared);
        viewport.state.projection = c.projection;
        viewport.state.drawMode = c.drawMode;
        viewport.state.perspAngles.set(0.35f, -0.5f, 0);
        viewport.state.perspOffset.set(0, -1.5f, -12);
        viewport.state.orthoView.set(0, -1, 0.2f);
        viewport.OnDrawScene = [&](TGLViewport& v, int drawMode) {
            rgGLPainter::Settings settings;
            settings.textures = &context.textures;
            settings.editor = &context.state;
            settings.fontBase = TGLSharedLists::kFontBase;
            settings.errors = &v.Errors();
            rgGLPainter painter(v.state.viewMatrix, settings);
            DrawScene(scene, painter, drawMode, c.showVertices);
        };
        viewport.resize(320, 240);
        viewport.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&viewport));
        viewport.grabFramebuffer();  // the orthographic grid settles its spacing
        QImage image = viewport.grabFramebuffer().convertToFormat(QImage::Format_RGB32);
        EXPECT_FALSE(viewport.Errors().HasPending()) << "GL errors during the frame";
        viewport.Retire();
        return image;
    }

    QTemporaryDir dir;
    rgQtImageDecoder decoder;
    rgSceneContext context;
    rgScene scene{context};
};

// Pixels of about this colour.
int CountColour(const QImage& image, QColor colour) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor p = image.pixelColor(x, y);
            if (std::abs(p.red() - colour.red()) < 60 && std::abs(p.green() - colour.green()) < 60 &&
                std::abs(p.blue() - colour.blue()) < 60)
                ++n;
        }
    return n;
}

// What an import makes of a skinned file: the skeleton under a plain node
// (the file's root or armature), the mesh beside it. Its joints are drawn
// like any others, over the mesh, in every draw mode.
TEST_F(DrawingFixture, JointsUnderAPlainNodeAreDrawn) {
    rgSceneNode* armature = new rgSceneNode(&scene);
    scene.GetRootNode()->AttachChild(armature);
    armature->GetMatrix().scale(0.5f, 0.5f, 0.5f);
    rgBone* hip = scene.CreateBone();
    armature->AttachChild(hip);
    hip->GetLocalMatrix().translate(0, 1, 0);
    rgBone* knee = scene.CreateBone();
    hip->AttachChild(knee);
    knee->GetLocalMatrix().translate(0, 4, 0);
    rgMesh* body = scene.CreateMesh();
    armature->AttachChild(body);
    AddQuad(body, {{-1, 0, 0.5f}, {1, 0, 0.5f}, {1, 6, 0.5f}, {-1, 6, 0.5f}}, {0, 0, 1});
    body->SetColor(0.9f, 0.9f, 0.9f);
    for (const DrawCase& c : {DrawCase{"front smooth", kProjFront, kDrawSmooth, false},
                              DrawCase{"perspective wireframe", kProjPerspective, kDrawWireframe, false}}) {
        SCOPED_TRACE(c.name);
        context.state.gridSize = 100;  // no grid line near the joints
        const QImage drawn = Draw(c);
        EXPECT_GT(CountColour(drawn, QColor(0, 255, 0)), 8) << "joint dots";
        EXPECT_GT(CountColour(drawn, QColor(0, 0, 255)), 8) << "the bone between them";
    }
}

// A textured box, a selected pyramid (red wireframe on top), a chain of
// three joints with the middle one selected and its gizmo with handles.
class ViewportDrawing : public DrawingFixture, public ::testing::WithParamInterface<DrawCase> {
protected:
    ViewportDrawing() {
        context.state.showHandles = true;
        QImage checker(16, 16, QImage::Format_RGB32);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                checker.setPixelColor(
                    x, y, ((x / 4 + y / 4) % 2) ? QColor(250, 250, 250) : QColor(40, 90, 200));
        const QString path = dir.filePath("checker.png");
        checker.save(path);
        context.textures.SetDecoder(&decoder);
        rgTexture* texture = context.textures.AddTexture(path.toStdString());

        rgMesh* box = scene.CreateMesh();
        scene.GetRootNode()->AttachChild(box);
        AddQuad(box, {{-1, -1, 1}, {1, -1, 1}, {1, 1, 1}, {-1, 1, 1}}, {0, 0, 1});
        AddQuad(box, {{1, -1, -1}, {-1, -1, -1}, {-1, 1, -1}, {1, 1, -1}}, {0, 0, -1});
        AddQuad(box, {{1, -1, 1}, {1, -1, -1}, {1, 1, -1}, {1, 1, 1}}, {1, 0, 0});
        AddQuad(box, {{-1, -1, -1}, {-1, -1, 1}, {-1, 1, 1}, {-1, 1, -1}}, {-1, 0, 0});
        AddQuad(box, {{-1, 1, 1}, {1, 1, 1}, {1, 1, -1}, {-1, 1, -1}}, {0, 1, 0});
        AddQuad(box, {{-1, -1, -1}, {1, -1, -1}, {1, -1, 1}, {-1, -1, 1}}, {0, -1, 0});
        box->SetColor(0.9f, 0.6f, 0.2f);
        if (texture) box->SetMaterial(texture->GetId());
        box->GetMatrix().translate(-1.8f, 1, 0);

        rgMesh* pyramid = scene.CreateMesh();
        scene.GetRootNode()->AttachChild(pyramid);
        const vector3 top(0, 2, 0), a(-1, 0, 1), b(1, 0, 1), c(1, 0, -1), d(-1, 0, -1);
        AddTriangle(pyramid, a, b, top);
        AddTriangle(pyramid, b, c, top);
        AddTriangle(pyramid, c, d, top);
        AddTriangle(pyramid, d, a, top);
        AddQuad(pyramid, {d, c, b, a}, {0, -1, 0});
        pyramid->GenerateNormals();  // shared across the split corners: smooth and flat differ
        pyramid->SetColor(0.3f, 0.6f, 0.9f);
        pyramid->GetMatrix().translate(1.8f, 0, 0);
        pyramid->SetSelected(true);
        for (int i = 0; i < pyramid->GetVertexCount(); ++i)  // one corner, split over its faces
            if (pyramid->GetVertex(i)->position.isequal(a, 0))
                pyramid->GetVertex(i)->selected = true;

        rgBone* hip = scene.CreateBone();
        hip->GetLocalMatrix().translate(0, 0, 2.5f);
        scene.GetRootNode()->AttachChild(hip);
        rgBone* knee = scene.CreateBone();
        knee->GetLocalMatrix().translate(0, 2.5f, 0);
        hip->AttachChild(knee);
        rgBone* foot = scene.CreateBone();
        foot->GetLocalMatrix().translate(1, 1.5f, 0);
        knee->AttachChild(foot);
        knee->SetSelected(true);  // its child's bone line turns yellow
    }
};

// Share of pixels whose colour differs by more than a small amount in any channel.
double DifferentPixels(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) return 1.0;
    long different = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            if (std::abs(qRed(p) - qRed(q)) > 40 || std::abs(qGreen(p) - qGreen(q)) > 40 ||
                std::abs(qBlue(p) - qBlue(q)) > 40)
                ++different;
        }
    return static_cast<double>(different) / (a.width() * a.height());
}

TEST_P(ViewportDrawing, MatchesTheReferencePicture) {
    const DrawCase& c = GetParam();
    const QImage drawn = Draw(c);
    drawn.save(QString("drawn_%1.png").arg(c.name));
    const QString reference = QString(KINEMO_REFERENCE_DIR "/%1.png").arg(c.name);
    if (std::getenv("KINEMO_UPDATE_REFERENCES")) {
        QDir().mkpath(KINEMO_REFERENCE_DIR);
        ASSERT_TRUE(drawn.save(reference));
        GTEST_SKIP() << "reference written: " << reference.toStdString();
    }
    const QImage expected(reference);
    ASSERT_FALSE(expected.isNull()) << "no reference picture " << reference.toStdString();
    // Font rasterisation may differ a little between machines: the labels are a few pixels.
    EXPECT_LT(DifferentPixels(drawn, expected.convertToFormat(QImage::Format_RGB32)), 0.005)
        << c.name;
}

INSTANTIATE_TEST_SUITE_P(DrawModes, ViewportDrawing, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<DrawCase>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
