#pragma once
// What the VST adapter needs of an editor beyond the core's view of it:
// its size and opening and closing its window in a host's parent. The
// editor class may not offer these yet in every build (the core only knows
// the narrow IGraphics of the plug-in base); the bridge calls them when the
// editor type has them and otherwise answers as for an editor without a
// window: size 0 x 0, no window opened.
//
// Threads: the host's user-interface thread, plug-in mutex held.

#include <type_traits>
#include <utility>

#include "framework/IGraphics.h"

namespace vst_editor_bridge {

template <class G, class = void>
struct HasSize : std::false_type {
};
template <class G>
struct HasSize<G, std::void_t<decltype(std::declval<G&>().Width()), decltype(std::declval<G&>().Height())>>
    : std::true_type {
};

template <class G, class = void>
struct HasGetSize : std::false_type {
};
template <class G>
struct HasGetSize<
    G, std::void_t<decltype(std::declval<G&>().GetWidth()), decltype(std::declval<G&>().GetHeight())>>
    : std::true_type {
};

template <class G, class = void>
struct HasWindow : std::false_type {
};
template <class G>
struct HasWindow<G, std::void_t<decltype(std::declval<G&>().OpenWindow(static_cast<void*>(nullptr))),
                                decltype(std::declval<G&>().CloseWindow())>> : std::true_type {
};

template <class G>
void Size(G* editor, int* w, int* h)
{
  if constexpr (HasSize<G>::value) {
    *w = editor->Width();
    *h = editor->Height();
  } else if constexpr (HasGetSize<G>::value) {
    *w = editor->GetWidth();
    *h = editor->GetHeight();
  } else {
    (void)editor;
    *w = *h = 0;
  }
}

template <class G>
bool Open(G* editor, void* parent)
{
  if constexpr (HasWindow<G>::value) {
    return editor->OpenWindow(parent) != nullptr;
  } else {
    (void)editor;
    (void)parent;
    return false;
  }
}

template <class G>
void Close(G* editor)
{
  if constexpr (HasWindow<G>::value) editor->CloseWindow();
  else (void)editor;
}

}  // namespace vst_editor_bridge

// The editor's width and height in pixels (0 x 0 when unknown).
inline void VSTEditorSize(IGraphics* editor, int* w, int* h) { vst_editor_bridge::Size(editor, w, h); }
// Opens the editor's window inside the host's parent; true when it opened.
inline bool VSTEditorOpen(IGraphics* editor, void* parent) { return vst_editor_bridge::Open(editor, parent); }
inline void VSTEditorClose(IGraphics* editor) { vst_editor_bridge::Close(editor); }
