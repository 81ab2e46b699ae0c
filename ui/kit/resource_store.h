#pragma once
// The program's resources, found by kind and name; names are compared without
// regard to case.
//
// Every name the program asks for is fixed in its code, so a name the store
// does not hold is a fault of the program.  The lookups report such a name
// (once per name, see ReportMissingResource) and return nothing; the caller
// abandons what it was doing and the program runs on.
#include <QByteArray>
#include <QString>
#include <optional>

namespace vk {

enum class ResourceKind {
    Raw,   // PNG pictures, WAVE and MP3 sounds, the puzzle bases
    Gif,   // animations
    Jpeg,  // the window background
    Any,   // the font
    Flags, // the flag lists
};

// The Qt resource path of a named resource, or nullopt (reported) when there
// is none.
std::optional<QString> ResourcePath(ResourceKind kind, const QString& name);

// The bytes of a named resource, or nullopt (reported) when there is none.
std::optional<QByteArray> ResourceBytes(ResourceKind kind, const QString& name);

// Whether the store holds the name; asks quietly, reports nothing.
bool HasResource(ResourceKind kind, const QString& name);

// Tells about a resource the program asked for and does not carry: a warning
// in the log and, in a running application, an error box naming it.  Each
// name is told once per run, however often it is asked for.  The box does
// not wait for an answer, so this is safe anywhere, even while painting.
void ReportMissingResource(const QString& name);

} // namespace vk
