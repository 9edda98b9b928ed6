// Writes seed ".scene" files for the scene fuzzer into the folder given as the only argument:
// from the scene writer, an empty scene and one with every record and member; by hand, the
// faults the loader reports (a stray child of "Ribbons" and of "Guys", a bad boolean) and a
// file without "Ribbons", which gives no scene.
#include <string>

#include "seedsupport.h"

#include "formats/scenewriter.h"
#include "support/fullscene.h"


int main(int argc, char** argv) {
    if (argc != 2) return 2;
    const std::string folder = argv[1];
    bool ok = Save(folder, "empty.scene", WriteScene(SceneData()));
    ok = Save(folder, "full.scene", WriteScene(FullScene())) && ok;
    ok = Save(folder, "stray-ribbon.scene",
              "<Scene name=\"s\"><Ribbons><Ribbon/><Path/></Ribbons></Scene>\n") &&
         ok;
    ok = Save(folder, "stray-guy.scene",
              "<Scene name=\"s\"><Ribbons/><StaticMeshes><Any mesh_name=\"m\" order=\"2\"/>"
              "</StaticMeshes><Guys><Guy id=\"g\"/><Ribbon/></Guys></Scene>\n") &&
         ok;
    ok = Save(folder, "bad-bool.scene",
              "<Scene name=\"s\"><Ribbons><Ribbon><Source mesh_name=\"a\" stay=\"yes\">"
              "<Material><UseSolid value=\"1\"/></Material></Source></Ribbon></Ribbons>"
              "</Scene>\n") &&
         ok;
    ok = Save(folder, "no-ribbons.scene", "<Scene name=\"s\"><Guys/></Scene>\n") && ok;
    return ok ? 0 : 1;
}
