// The shipped plug-ins through the editor's own import and export path
// (ImportFile / ExportFile in a batch-style script environment), with
// Assimp's time on the same OBJ file measured in the same run.
#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "editing/rg_editor.h"
#include "imageio/reader_process.h"
#include "plugins/native/assimp/assimp_format.h"
#include "plugins/native/common/model_stream.h"
#include "scene/rg_bone.h"
#include "scene/rg_mesh.h"
#include "scene/rg_scene.h"
#include "scripting/console_sink.h"
#include "scripting/script_environment.h"
#include "scripting/script_server.h"
#include "scripting/script_ui.h"
#include "viewport/viewport_host.h"

namespace fs = std::filesystem;

namespace {

class QuietConsole : public rgConsoleSink {
public:
    void Write(const std::string&) override {}
    void WriteError(const std::string& line) override {
        std::fprintf(stderr, "%s\n", line.c_str());
    }
};

std::string ProgramFolder() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? std::string("./") : exe.parent_path().string() + "/";
}

fs::path Scratch() {
    const fs::path folder =
        fs::temp_directory_path() / ("kinemo_bench_" + std::to_string(getpid()));
    fs::create_directories(folder);
    return folder;
}

// A 401 x 251 grid of vertices bent into a wave, with texture coordinates
// and normals: 200,000 triangles.
const std::string& ObjFile() {
    static const std::string path = [] {
        const fs::path file = Scratch() / "grid.obj";
        std::ofstream out(file);
        const int columns = 401, rows = 251;
        char line[128];
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < columns; ++c) {
                const double x = c * 0.05, z = r * 0.05, y = 0.3 * std::sin(x) * std::cos(z);
                std::snprintf(line, sizeof(line), "v %.6f %.6f %.6f\n", x, y, z);
                out << line;
            }
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < columns; ++c) {
                std::snprintf(line, sizeof(line), "vt %.6f %.6f\n", c / (columns - 1.0),
                              r / (rows - 1.0));
                out << line;
            }
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < columns; ++c) {
                const double x = c * 0.05, z = r * 0.05;
                const double nx = -0.3 * std::cos(x) * std::cos(z),
                             nz = 0.3 * std::sin(x) * std::sin(z);
                const double l = std::sqrt(nx * nx + 1 + nz * nz);
                std::snprintf(line, sizeof(line), "vn %.6f %.6f %.6f\n", nx / l, 1 / l, nz / l);
                out << line;
            }
        out << "o Grid\n";
        for (int r = 0; r + 1 < rows; ++r)
            for (int c = 0; c + 1 < columns; ++c) {
                const int a = r * columns + c + 1, b = a + 1, d = a + columns, e = d + 1;
                std::snprintf(line, sizeof(line), "f %d/%d/%d %d/%d/%d %d/%d/%d\n", a, a, a, e, e,
                              e, b, b, b);
                out << line;
                std::snprintf(line, sizeof(line), "f %d/%d/%d %d/%d/%d %d/%d/%d\n", a, a, a, d, d,
                              d, e, e, e);
                out << line;
            }
        return file.string();
    }();
    return path;
}

// The editor as a batch run has it: start-up script and plug-ins loaded.
struct Editor {
    rgEditor editor;
    rgStateOnlyViewports viewports{editor.state()};
    QuietConsole console;
    rgScriptUi ui;
    rgScriptEnvironment scripting{editor, viewports, console, ui, ProgramFolder()};

    Editor() { scripting.RunStartupScripts(false); }
    bool Run(const std::string& chunk) { return scripting.server().RunString(chunk); }
};

double AssimpSeconds(const std::string& file) {
    Assimp::Importer importer;
    const auto start = std::chrono::steady_clock::now();
    const aiScene* scene =
        importer.ReadFile(file, aiProcess_Triangulate | aiProcess_JoinIdenticalVertices);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!scene) std::fprintf(stderr, "Assimp: %s\n", importer.GetErrorString());
    return seconds;
}

}  // namespace

// 200,000 triangles through File > Import's path (ImportFile), the scene
// cleared between runs. Counters: Assimp 5's time on the same file with
// triangulation and vertex joining (best of three, same run) and the ratio.
static void BM_ImportObj(benchmark::State& state) {
    const std::string& file = ObjFile();
    double assimp = 1e9;
    for (int i = 0; i < 3; ++i) assimp = std::min(assimp, AssimpSeconds(file));
    Editor e;
    const std::string call = "assert(ImportFile('" + file + "'))";
    double total = 0;
    for (auto _ : state) {
        state.PauseTiming();
        e.editor.scene().Clear();
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        if (!e.Run(call)) state.SkipWithError("the import failed");
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    const rgMesh* mesh = ToMesh(e.editor.scene().GetFirstNode());
    state.counters["triangles"] = mesh ? mesh->GetFaceCount() : 0;
    state.counters["vertices"] = mesh ? mesh->GetVertexCount() : 0;
    state.counters["assimp_ms"] = assimp * 1000;
    state.counters["ratio"] =
        state.iterations() ? total / static_cast<double>(state.iterations()) / assimp : 0;
}
BENCHMARK(BM_ImportObj)->Unit(benchmark::kMillisecond)->MinTime(3);

// Assimp alone on the same file, for reference.
static void BM_ImportObjAssimp(benchmark::State& state) {
    const std::string& file = ObjFile();
    for (auto _ : state) benchmark::DoNotOptimize(AssimpSeconds(file));
}
BENCHMARK(BM_ImportObjAssimp)->Unit(benchmark::kMillisecond)->MinTime(3);

namespace {

// A cube of 12 triangles as an ASCII PLY: the small file.
const std::string& SmallPly() {
    static const std::string path = [] {
        const fs::path file = Scratch() / "cube.ply";
        std::ofstream out(file);
        out << "ply\nformat ascii 1.0\nelement vertex 8\nproperty float x\nproperty float y\n"
               "property float z\nelement face 12\nproperty list uchar int vertex_indices\n"
               "end_header\n";
        for (int i = 0; i < 8; ++i) out << (i & 1) << ' ' << ((i >> 1) & 1) << ' ' << (i >> 2) << '\n';
        const int faces[12][3] = {{0, 1, 3}, {0, 3, 2}, {4, 6, 7}, {4, 7, 5}, {0, 4, 5}, {0, 5, 1},
                                  {2, 3, 7}, {2, 7, 6}, {0, 2, 6}, {0, 6, 4}, {1, 5, 7}, {1, 7, 3}};
        for (const auto& f : faces) out << "3 " << f[0] << ' ' << f[1] << ' ' << f[2] << '\n';
        return file.string();
    }();
    return path;
}

}  // namespace

// The price of running Assimp in the reader helper: start the helper, read
// the file there, hand the model back as a stream and check it. Arg 0: the
// 12-triangle PLY; arg 1: the 200,000-triangle OBJ. Counter: Assimp's
// reader in this process on the same file (best of three), and the
// difference per file.
static void BM_AssimpHelper(benchmark::State& state) {
    const std::string& file = state.range(0) == 0 ? SmallPly() : ObjFile();
    double inProcess = 1e9;
    for (int i = 0; i < 3; ++i) {
        kinemo_plugin::Model model;
        std::string problem;
        const auto start = std::chrono::steady_clock::now();
        if (!kinemo_plugin::ReadWithAssimp(file, model, problem)) state.SkipWithError(problem.c_str());
        inProcess = std::min(
            inProcess, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    const std::string helper = ProgramFolder() + "kinemo-reader";
    double total = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const rgReaderResult run = RunReader(helper, {"model", file}, rgReaderLimits());
        kinemo_plugin::Model model;
        std::string why;
        if (!run.ok || !kinemo_plugin::ParseModelStream(run.output, model, why))
            state.SkipWithError((run.reason + why).c_str());
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.counters["stream_MB"] = static_cast<double>(run.output.size()) / 1e6;
    }
    const double perFile = state.iterations() ? total / static_cast<double>(state.iterations()) : 0;
    state.counters["in_process_ms"] = inProcess * 1000;
    state.counters["helper_cost_ms"] = (perFile - inProcess) * 1000;
}
BENCHMARK(BM_AssimpHelper)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(2);

// A character: a columns x rows grid bound to 64 joints (two each, eight
// chains of eight), each joint keyed with spline keys at frames 1..frames.
rgMesh* BuildCharacter(rgScene& scene, int columns, int rows, int frames) {
    std::vector<rgBone*> joints;
    for (int j = 0; j < 64; ++j) {
        rgBone* joint = scene.CreateBone();
        (j % 8 == 0 ? scene.GetRootNode() : static_cast<rgSceneNode*>(joints.back()))
            ->AttachChild(joint);
        joint->GetLocalMatrix().translate(j % 8 == 0 ? static_cast<float>(j) * 0.1f : 0.0f, 0.3f,
                                          0);
        for (int k = 1; k <= frames; ++k) {
            matrix44 m;
            m.rotate(0.36f, 0.48f, 0.8f, 0.01f * static_cast<float>(k + j));
            m.translate(0.001f * static_cast<float>(k), 0, 0);
            joint->SetKey(k, m, 0.1f, 0.2f, -0.1f, 0.3f, 0, 0.2f);
        }
        joints.push_back(joint);
    }
    rgMesh* mesh = scene.CreateMesh();
    scene.GetRootNode()->AttachChild(mesh);
    for (int i = 0; i < columns * rows; ++i) {
        rgVertex v;
        const float u = static_cast<float>(i % columns) / static_cast<float>(columns),
                    w = static_cast<float>(i / columns) / static_cast<float>(rows);
        v.position.set(u * 8, w * 5, std::sin(u * 6.28f));
        v.normal.set(0, 0, 1);
        v.texcoords.set(u, w);
        v.bone[0] = joints[static_cast<size_t>(i % 64)]->GetId();
        v.bone[1] = joints[static_cast<size_t>((i + 9) % 64)]->GetId();
        v.weight[0] = 0.7f;
        v.weight[1] = 0.3f;
        mesh->AddVertex(v, false);
    }
    for (int r = 0; r + 1 < rows; ++r)
        for (int c = 0; c + 1 < columns; ++c) {
            const int a = r * columns + c;
            mesh->AddFace(a, a + 1, a + columns + 1);
            mesh->AddFace(a, a + columns + 1, a + columns);
        }
    return mesh;
}

// A 100,000-vertex mesh bound to 64 joints (two each), 100 spline keys on
// every joint, written as .glb through ExportFile.
static void BM_ExportGltf(benchmark::State& state) {
    Editor e;
    rgMesh* mesh = BuildCharacter(e.editor.scene(), 400, 250, 100);
    e.editor.state().totalFrames = 100;
    const std::string file = (Scratch() / "export.glb").string();
    const std::string call = "assert(ExportFile('" + file + "', 'glTF 2.0 binary'))";
    for (auto _ : state)
        if (!e.Run(call)) state.SkipWithError("the export failed");
    state.counters["vertices"] = mesh->GetVertexCount();
    state.counters["MB"] = static_cast<double>(fs::file_size(file)) / 1e6;
}
BENCHMARK(BM_ExportGltf)->Unit(benchmark::kMillisecond)->MinTime(3);

// A 50,000-vertex character with 64 joints and three 100-frame clips as a
// .glb: imported through ImportFile (Arg 0: every clip keyed at every frame)
// and exported again through ExportFile (Arg 1).
static void BM_ImportGltfClips(benchmark::State& state) {
    const std::string file = (Scratch() / "clips.glb").string();
    {
        Editor maker;
        BuildCharacter(maker.editor.scene(), 250, 200, 300);
        maker.editor.state().totalFrames = 300;
        if (!maker.Run("AddClip('Walk', 1, 100, true) AddClip('Run', 101, 200, true) "
                       "AddClip('Jump', 201, 300) assert(ExportFile('" +
                       file + "', 'glTF 2.0 binary'))"))
            state.SkipWithError("the character could not be written");
    }
    Editor e;
    const bool exporting = state.range(0) == 1;
    const std::string import = "assert(ImportFile('" + file + "'))";
    const std::string again = (Scratch() / "clips_again.glb").string();
    const std::string exportCall = "assert(ExportFile('" + again + "', 'glTF 2.0 binary'))";
    if (exporting && !e.Run(import)) state.SkipWithError("the import failed");
    for (auto _ : state) {
        if (exporting) {
            if (!e.Run(exportCall)) state.SkipWithError("the export failed");
            continue;
        }
        state.PauseTiming();
        e.editor.scene().Clear();
        state.ResumeTiming();
        if (!e.Run(import)) state.SkipWithError("the import failed");
    }
    int keys = 0;
    e.editor.scene().ForEach([&](rgSceneNode* n) {
        if (rgBone* j = ToBone(n)) keys += j->GetKeyCount();
    });
    state.counters["clips"] = static_cast<double>(e.editor.scene().Clips().size());
    state.counters["keys"] = keys;
    state.counters["MB"] = static_cast<double>(fs::file_size(exporting ? again : file)) / 1e6;
}
BENCHMARK(BM_ImportGltfClips)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(2);
