#include "show/figure.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <iterator>

#include "show/mesh.h"
#include "show/rotation.h"

namespace show {

namespace {

enum BoneIndex {
    kHips, kSpine, kChest, kNeck, kHead,
    kClavL, kUpperArmL, kForearmL, kHandL,
    kClavR, kUpperArmR, kForearmR, kHandR,
    kThighL, kShinL, kFootL, kToeL,
    kThighR, kShinR, kFootR, kToeR,
    kBoneCount
};

// Figure's left is −x (it faces −z).
std::vector<Bone> MakeBones() {
    auto side = [](float sign, float x) { return sign * x; };
    std::vector<Bone> b;
    b.push_back({1, "hips", -1, {0, 46, 0}});
    b.push_back({2, "spine", kHips, {0, 54, 0}});
    b.push_back({3, "chest", kSpine, {0, 64, 0}});
    b.push_back({4, "neck", kChest, {0, 77, 0}});
    b.push_back({5, "head", kNeck, {0, 81, 0}});
    for (float s : {-1.0f, 1.0f}) {
        const std::string n = s < 0 ? "L" : "R";
        const int base = static_cast<int>(b.size()) + 1;
        b.push_back({base, "clavicle" + n, kChest, {side(s, 2), 74, 0}});
        b.push_back({base + 1, "upperarm" + n, base - 1, {side(s, 9.5f), 75, 0}});
        b.push_back({base + 2, "forearm" + n, base, {side(s, 10.5f), 59.5f, 0}});
        b.push_back({base + 3, "hand" + n, base + 1, {side(s, 11), 46, 0}});
    }
    for (float s : {-1.0f, 1.0f}) {
        const std::string n = s < 0 ? "L" : "R";
        const int base = static_cast<int>(b.size()) + 1;
        b.push_back({base, "thigh" + n, kHips, {side(s, 5), 45, 0}});
        b.push_back({base + 1, "shin" + n, base - 1, {side(s, 5), 25, 0.5f}});
        b.push_back({base + 2, "foot" + n, base, {side(s, 5), 6, 0}});
        b.push_back({base + 3, "toe" + n, base + 1, {side(s, 5), 1.5f, -8}});
    }
    return b;
}

// Up to four (bone index, weight) pairs.
struct Weights {
    std::vector<std::pair<int, float>> w;
};

Weights W(int a) { return {{{a, 1.0f}}}; }
Weights W(int a, float wa, int b) { return {{{a, wa}, {b, 1.0f - wa}}}; }

// One cross-section of a skinned tube: its ring of points and each point's weights (the centre,
// which closes an end, takes the first point's).
struct Station {
    std::vector<sm::Vec3> ring;
    sm::Vec3 centre;
    std::vector<Weights> weights;
};

// Moves part of each weight of the points on one side (x of that sign) onto the side's bone,
// the more the further out: so the pelvis follows the thighs and the shoulders the collarbones.
void BlendSides(Station& s, int leftBone, int rightBone, float amount, float reach) {
    for (size_t k = 0; k < s.ring.size(); ++k) {
        const float x = s.ring[k].x;
        const float t = std::min(1.0f, std::fabs(x) / reach) * amount;
        if (t <= 0) continue;
        Weights& w = s.weights[k];
        for (auto& bw : w.w) bw.second *= 1.0f - t;
        w.w.push_back({x < 0 ? leftBone : rightBone, t});
    }
}

class SkinBuilder {
public:
    void Triangle(const sm::Vec3& a, const Weights& wa, const sm::Vec3& b, const Weights& wb,
                  const sm::Vec3& c, const Weights& wc, const sm::Vec3& outward) {
        if (Dot(CrossRH(b - a, c - a), outward) < 0) {
            Push(a, wa);
            Push(c, wc);
            Push(b, wb);
        } else {
            Push(a, wa);
            Push(b, wb);
            Push(c, wc);
        }
    }

    // Joins the stations into a tube and closes both ends with a fan.
    void Tube(const std::vector<Station>& s) {
        for (size_t i = 0; i + 1 < s.size(); ++i) {
            const size_t n = s[i].ring.size();
            const sm::Vec3 centre = (s[i].centre + s[i + 1].centre) * 0.5f;
            for (size_t k = 0; k < n; ++k) {
                const size_t k1 = (k + 1) % n;
                const sm::Vec3 &a = s[i].ring[k], &b = s[i].ring[k1];
                const sm::Vec3 &c = s[i + 1].ring[k1], &d = s[i + 1].ring[k];
                const sm::Vec3 out = (a + b + c + d) * 0.25f - centre;
                const Weights &wa = s[i].weights[k], &wb = s[i].weights[k1];
                const Weights &wc = s[i + 1].weights[k1], &wd = s[i + 1].weights[k];
                Triangle(a, wa, b, wb, c, wc, out);
                Triangle(a, wa, c, wc, d, wd, out);
            }
        }
        for (const Station* end : {&s.front(), &s.back()}) {
            const Station& other = end == &s.front() ? s[1] : s[s.size() - 2];
            const sm::Vec3 out = end->centre - other.centre;
            const size_t n = end->ring.size();
            for (size_t k = 0; k < n; ++k)
                Triangle(end->centre, end->weights[0], end->ring[k], end->weights[k],
                         end->ring[(k + 1) % n], end->weights[(k + 1) % n], out);
        }
    }

    std::vector<SkinnedVertex> vertices;

private:
    void Push(const sm::Vec3& p, const Weights& w) {
        SkinnedVertex v{};
        v.position = p;
        for (size_t i = 0; i < 4; ++i) {
            v.bones[i] = static_cast<uint8_t>(i < w.w.size() ? w.w[i].first : w.w[0].first);
            v.weights[i] = i < w.w.size() ? w.w[i].second : 0.0f;
        }
        vertices.push_back(v);
    }
};

// An elliptical ring around centre, in the plane across the unit direction `along`; rx lies
// along the world x axis as far as the plane allows.
Station Round(const sm::Vec3& centre, const sm::Vec3& along, float rx, float rz, int sides,
              const Weights& w) {
    sm::Vec3 ex = sm::Vec3(1, 0, 0) - along * along.x;
    if (ex.Length() < 1e-3f) ex = sm::Vec3(0, 0, 1) - along * along.z;
    ex = ex.GetNormalized();
    const sm::Vec3 ez = CrossRH(ex, along).GetNormalized();
    Station s{{}, centre, std::vector<Weights>(sides, w)};
    for (int k = 0; k < sides; ++k) {
        const float a = 2 * kPi * k / sides;
        s.ring.push_back(centre + ex * (rx * std::cos(a)) + ez * (rz * std::sin(a)));
    }
    return s;
}

// A rectangular ring across the z axis: the foot's cross-section at z, from the sole (y = 0) to
// height h.
Station FootRing(float x, float z, float halfWidth, float h, const Weights& w) {
    return {{{x - halfWidth, 0, z}, {x + halfWidth, 0, z}, {x + halfWidth, h, z},
             {x - halfWidth, h, z}},
            {x, h / 2, z},
            std::vector<Weights>(4, w)};
}

std::vector<SkinnedVertex> BuildSkin() {
    SkinBuilder skin;
    const sm::Vec3 up(0, 1, 0), down(0, -1, 0);
    // Pelvis to the top of the head in one closed surface.
    struct Section {
        float y, rx, rz, z;
        Weights w;
    };
    const Section body[] = {
        {39, 11.5f, 7.5f, 0, W(kHips)},
        {46, 13.5f, 8.5f, 0, W(kHips)},
        {52, 12.0f, 7.5f, 0, W(kHips, 0.5f, kSpine)},
        {58, 11.5f, 7.5f, 0, W(kSpine)},
        {64, 13.5f, 8.5f, 0, W(kSpine, 0.4f, kChest)},
        {70, 15.5f, 9.0f, 0, W(kChest)},
        {75, 13.0f, 7.5f, 0, W(kChest)},
        {78, 4.5f, 4.2f, 0, W(kChest, 0.5f, kNeck)},
        {81, 3.6f, 3.6f, -0.3f, W(kNeck, 0.7f, kHead)},
        {82.5f, 5.0f, 5.5f, -0.6f, W(kHead)},
        {85.5f, 6.0f, 6.5f, -0.8f, W(kHead)},
        {88.5f, 5.4f, 5.9f, -0.6f, W(kHead)},
        {90.8f, 3.2f, 3.6f, -0.4f, W(kHead)},
    };
    std::vector<Station> torso;
    for (const Section& s : body) torso.push_back(Round({0, s.y, s.z}, up, s.rx, s.rz, 10, s.w));
    // The pelvis rings lean on the thighs, the shoulder rings on the collarbones.
    BlendSides(torso[0], kThighL, kThighR, 0.45f, 11.5f);
    BlendSides(torso[1], kThighL, kThighR, 0.3f, 13.5f);
    BlendSides(torso[2], kThighL, kThighR, 0.1f, 12.0f);
    BlendSides(torso[5], kClavL, kClavR, 0.25f, 15.5f);
    BlendSides(torso[6], kClavL, kClavR, 0.4f, 13.0f);
    torso.front().centre = {0, 37.5f, 0};
    torso.back().centre = {0, 91.8f, -0.4f};
    skin.Tube(torso);

    for (float sign : {-1.0f, 1.0f}) {
        const int clav = sign < 0 ? kClavL : kClavR;
        const int upper = clav + 1, fore = clav + 2, hand = clav + 3;
        struct Limb {
            float x, y, r1, r2;
            Weights w;
        };
        const Limb arm[] = {
            {9.5f, 77.5f, 3.6f, 3.6f, W(clav, 0.5f, upper)},
            {9.7f, 72, 3.4f, 3.4f, W(upper, 0.85f, clav)},
            {10.0f, 66, 3.1f, 3.1f, W(upper)},
            {10.4f, 61, 2.9f, 2.9f, W(upper, 0.75f, fore)},
            {10.6f, 58, 2.8f, 2.8f, W(fore, 0.75f, upper)},
            {10.8f, 52, 2.5f, 2.5f, W(fore)},
            {11.0f, 47.5f, 2.1f, 2.1f, W(fore, 0.6f, hand)},
            {11.0f, 45, 1.3f, 2.5f, W(hand)},
            {11.0f, 40, 1.1f, 2.1f, W(hand)},
        };
        std::vector<Station> a;
        for (const Limb& l : arm) a.push_back(Round({sign * l.x, l.y, 0}, down, l.r1, l.r2, 8, l.w));
        a.front().centre = {sign * 9.5f, 79, 0};
        a.back().centre = {sign * 11, 38.5f, 0};
        skin.Tube(a);

        const int thigh = sign < 0 ? kThighL : kThighR;
        const int shin = thigh + 1, foot = thigh + 2, toe = thigh + 3;
        const Limb leg[] = {
            {5, 47, 5.6f, 5.6f, W(kHips, 0.5f, thigh)},
            {5, 41, 5.4f, 5.4f, W(thigh, 0.85f, kHips)},
            {5, 34, 4.7f, 4.7f, W(thigh)},
            {5, 27.5f, 4.0f, 4.0f, W(thigh, 0.75f, shin)},
            {5, 23, 3.8f, 3.8f, W(shin, 0.75f, thigh)},
            {5, 16, 3.4f, 3.4f, W(shin)},
            {5, 9, 2.7f, 2.7f, W(shin, 0.9f, foot)},
            {5, 6.5f, 2.4f, 2.4f, W(shin, 0.5f, foot)},
        };
        std::vector<Station> l;
        for (const Limb& s : leg)
            l.push_back(Round({sign * s.x, s.y, s.y < 30 ? 0.5f : 0.0f}, down, s.r1, s.r2, 8, s.w));
        l.front().centre = {sign * 5, 48.5f, 0};
        l.back().centre = {sign * 5, 5.5f, 0.5f};
        skin.Tube(l);

        const float x = sign * 5;
        std::vector<Station> f = {
            FootRing(x, 3.5f, 2.6f, 5.0f, W(foot)),
            FootRing(x, 0.0f, 2.8f, 6.0f, W(foot)),
            FootRing(x, -4.0f, 2.9f, 4.2f, W(foot)),
            FootRing(x, -7.0f, 2.9f, 3.0f, W(foot, 0.6f, toe)),
            FootRing(x, -9.0f, 2.8f, 2.6f, W(toe, 0.8f, foot)),
            FootRing(x, -12.0f, 2.4f, 2.0f, W(toe)),
        };
        f.front().centre = {x, 2.5f, 4.5f};
        f.back().centre = {x, 1.0f, -12.8f};
        skin.Tube(f);
    }
    return skin.vertices;
}

// A pose: every bone's rotation relative to its parent, and the hips moved off their bind place.
struct Pose {
    sm::Vec3 hipsOffset;
    sm::Quat local[kBoneCount];
    Pose() {
        for (sm::Quat& q : local) q = sm::Quat(1, 0, 0, 0);
    }
};

// A smooth bump of width about 1/sqrt(k) centred on mu, periodic in the phase.
float Bump(float phase, float mu, float k) {
    return std::exp(k * (std::cos(2 * kPi * (phase - mu)) - 1.0f));
}

// Walk at phase 0 … 1: the left heel strikes at 0, the right at 0.5. Angles in degrees; a
// positive turn about +x swings a limb forward (towards −z), and bends an elbow; knees bend the
// other way.
Pose WalkPose(float phase) {
    Pose p;
    const float c = std::cos(2 * kPi * phase);
    p.hipsOffset = sm::Vec3(-0.8f * std::sin(2 * kPi * phase),
                            -0.75f - 0.9f * std::cos(4 * kPi * phase), 0);
    p.local[kHips] = Then(Ry(Degrees(-5 * c)), Rz(Degrees(1.5f * std::sin(2 * kPi * phase))));
    p.local[kSpine] = Rx(Degrees(-3));
    p.local[kChest] = Ry(Degrees(8 * c));
    p.local[kNeck] = Then(Ry(Degrees(-3 * c)), Rx(Degrees(2)));
    p.local[kHead] = Rx(Degrees(1.5f));
    for (int leg = 0; leg < 2; ++leg) {
        const float f = phase + 0.5f * leg;
        const float hip = 5 + 20 * std::cos(2 * kPi * f);
        const float knee = 4 + 14 * Bump(f, 0.1f, 18) + 58 * Bump(f, 0.72f, 10);
        const float ankle = 0.85f * (knee - hip) - 18 * Bump(f, 0.55f, 25) + 6 * Bump(f, 0.95f, 12);
        const int thigh = leg == 0 ? kThighL : kThighR;
        p.local[thigh] = Rx(Degrees(hip));
        p.local[thigh + 1] = Rx(Degrees(-knee));
        p.local[thigh + 2] = Rx(Degrees(ankle));
        p.local[thigh + 3] = Rx(Degrees(20 * Bump(f, 0.55f, 25)));
    }
    for (int arm = 0; arm < 2; ++arm) {
        // Each arm swings with the opposite leg.
        const float swing = -16 * std::cos(2 * kPi * (phase + 0.5f * arm));
        const float out = arm == 0 ? -7.0f : 7.0f;
        const int clav = arm == 0 ? kClavL : kClavR;
        p.local[clav] = Rz(Degrees(0.1f * out * std::sin(4 * kPi * phase)));
        p.local[clav + 1] = Then(Rz(Degrees(out)), Rx(Degrees(swing - 2)));
        p.local[clav + 2] = Rx(Degrees(14 + 0.5f * swing));
        p.local[clav + 3] = Rx(Degrees(5));
    }
    return p;
}

// The jump as a few held shapes eased into one another.
struct JumpShape {
    float time, hipsY, lean, hip, knee, ankle, arm, elbow;
};

const JumpShape kJumpShapes[] = {
    {0.00f, 0, 0, 0, 0, 0, 0, 8},          // standing
    {0.35f, -9, -22, 45, 85, 38, -45, 20},  // crouched, arms back
    {0.50f, 2, -5, 5, 5, -25, 150, 10},     // take-off, arms up, toes pointed
    {0.70f, 22, 0, 35, 60, 10, 160, 10},    // the top, knees drawn up
    {0.90f, 4, -5, 10, 15, -10, 60, 15},    // touching down
    {1.05f, -7, -15, 35, 65, 28, 20, 25},   // landing crouch
    {1.20f, 0, 0, 0, 0, 0, 0, 8},          // standing again
};

Pose JumpPose(float t) {
    size_t i = 0;
    while (i + 2 < std::size(kJumpShapes) && t > kJumpShapes[i + 1].time) ++i;
    const JumpShape& a = kJumpShapes[i];
    const JumpShape& b = kJumpShapes[i + 1];
    const float u = std::clamp((t - a.time) / (b.time - a.time), 0.0f, 1.0f);
    const float e = 0.5f - 0.5f * std::cos(kPi * u);
    auto mix = [e](float x, float y) { return x + (y - x) * e; };
    Pose p;
    p.hipsOffset = sm::Vec3(0, mix(a.hipsY, b.hipsY), 0);
    const float lean = mix(a.lean, b.lean);
    p.local[kSpine] = Rx(Degrees(lean * 0.6f));
    p.local[kChest] = Rx(Degrees(lean * 0.4f));
    p.local[kNeck] = Rx(Degrees(-lean * 0.5f));
    for (int thigh : {kThighL, kThighR}) {
        // The thighs also make up for the lean, so the knees stay over the feet.
        p.local[thigh] = Rx(Degrees(mix(a.hip, b.hip) + lean));
        p.local[thigh + 1] = Rx(Degrees(-mix(a.knee, b.knee)));
        p.local[thigh + 2] = Rx(Degrees(mix(a.ankle, b.ankle)));
    }
    for (int clav : {kClavL, kClavR}) {
        const float out = clav == kClavL ? -7.0f : 7.0f;
        p.local[clav + 1] = Then(Rz(Degrees(out)), Rx(Degrees(mix(a.arm, b.arm))));
        p.local[clav + 2] = Rx(Degrees(mix(a.elbow, b.elbow)));
    }
    return p;
}

// Keys every bone's rotation (and the hips' position) at `keys` + 1 evenly spaced times over
// the duration; the last key repeats the first pose exactly when `loop` is set.
AniDesc Animate(const std::function<Pose(float)>& pose, float duration, int keys, bool loop) {
    const std::vector<Bone>& bones = FigureBones();
    std::vector<AniNodeDesc> nodes(bones.size());
    for (size_t i = 0; i < bones.size(); ++i) {
        nodes[i].id = bones[i].id;
        nodes[i].name = bones[i].name;
        // The bone target is the node's matrix times this: back from the bind pose first.
        nodes[i].baseMatrix = sm::Mat4::Translation(bones[i].joint * -1.0f);
        const sm::Vec3 parent = bones[i].parent < 0 ? sm::Vec3() : bones[bones[i].parent].joint;
        nodes[i].position.constant = bones[i].joint - parent;
    }
    std::vector<Pose> poses;
    for (int k = 0; k <= keys; ++k) {
        poses.push_back(loop && k == keys ? poses.front() : pose(duration * k / keys));
    }
    for (int k = 0; k <= keys; ++k) {
        const float time = k == keys ? duration : duration * k / keys;
        nodes[kHips].position.keys.push_back({time, bones[kHips].joint + poses[k].hipsOffset});
        for (size_t i = 0; i < bones.size(); ++i) {
            sm::Quat q = poses[k].local[i];
            if (k > 0) q = SameHemisphere(q, nodes[i].rotation.keys.back().rotation);
            nodes[i].rotation.keys.push_back({time, q});
        }
    }
    // Children hang below their parents; build the tree from the leaves up.
    for (size_t i = bones.size(); i-- > 1;) {
        AniNodeDesc& parent = nodes[bones[i].parent];
        parent.children.insert(parent.children.begin(), std::move(nodes[i]));
    }
    AniDesc animation;
    animation.nodes.push_back(std::move(nodes[kHips]));
    return animation;
}

}  // namespace

const std::vector<Bone>& FigureBones() {
    static const std::vector<Bone> bones = MakeBones();
    return bones;
}

SkmDesc FigureSkm() {
    SkmDesc skm;
    skm.id = 1;
    skm.name = "guy";
    for (const Bone& b : FigureBones()) skm.boneIds.push_back(b.id);
    skm.vertices = BuildSkin();
    return skm;
}

int FigureTriangleCount() { return static_cast<int>(BuildSkin().size() / 3); }

AniDesc WalkAnimation() {
    return Animate([](float t) { return WalkPose(t / kWalkPeriod); }, kWalkPeriod, 24, true);
}

AniDesc JumpAnimation() { return Animate(JumpPose, kJumpDuration, 36, false); }

}  // namespace show
