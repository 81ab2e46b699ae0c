#pragma once
// The program's resources, found by kind and name; names are compared without
// regard to case.
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

// The Qt resource path of a named resource, or nullopt when there is none.
std::optional<QString> ResourcePath(ResourceKind kind, const QString& name);

// The bytes of a named resource, or nullopt when there is none.
std::optional<QByteArray> ResourceBytes(ResourceKind kind, const QString& name);

} // namespace vk
