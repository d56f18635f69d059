// The bodies of the calls into the browser side, as inline JS that reaches the
// runtime object Module.web (WebRuntime.js and the Web*.js files beside it).
#include "platform/web/WebBridge.h"

#include <string>

#include "words/Words.h"

#include <emscripten.h>

// clang-format off
EM_JS(void, web_init, (), { Module.web.init(); });

EM_JS(int, web_take_input, (int* wheelDelta, char* code, int codeCapacity, char* key,
                            int keyCapacity), {
    const input = Module.web.takeInput();
    if (!input) return 0;
    const kinds = Module.web.inputKinds;
    if (input.kind === 'key') {
        stringToUTF8(input.code, code, codeCapacity);
        stringToUTF8(input.key, key, keyCapacity);
    } else if (input.kind === 'wheel') {
        HEAP32[wheelDelta >> 2] = input.delta;
    }
    return kinds[input.kind] || 0;
});

EM_JS(void, web_pointer, (double* x, double* y), {
    const read = Module.web.readPointer();
    HEAPF64[x >> 3] = read.x;
    HEAPF64[y >> 3] = read.y;
});

EM_ASYNC_JS(void, web_await_message, (), { await Module.web.waitForMessage(); });

void web_wait_for_message() { web_await_message(); }

EM_JS(void, web_capture, (int on), { Module.web.capture(on !== 0); });

EM_JS(void, web_show_hand_cursor, (), {
    if (Module.web.canvas) Module.web.canvas.style.cursor = 'pointer';
});

EM_JS(void, web_language_changed, (const char* code), {
    Module.web.relabel(UTF8ToString(code));
});

EM_JS(char*, web_preferred_languages, (), {
    const names = (navigator.languages && navigator.languages.length) ? navigator.languages
                                                                       : [navigator.language || ""];
    const joined = names.join(',');
    const size = lengthBytesUTF8(joined) + 1;
    const copy = _malloc(size);
    stringToUTF8(joined, copy, size);
    return copy;
});

EM_JS(void, web_open_document, (const char* path), {
    Module.web.openDocument(UTF8ToString(path));
});

EM_JS(void, web_finished, (int exitCode), { Module.web.finished(exitCode); });

EM_JS(int, web_make_surface, (int width, int height), {
    return Module.web.makeSurface(width, height);
});

EM_JS(void, web_clear, (int surface), { Module.web.clear(surface); });

EM_JS(void, web_begin, (int surface), { Module.web.begin(surface); });

EM_JS(void, web_fill_rect, (int surface, std::uint32_t colour, double x, double y,
                            double width, double height), {
    const context = Module.web.surfaces[surface].context;
    context.fillStyle = Module.web.colour(colour >>> 0);
    context.fillRect(x, y, width, height);
});

EM_JS(void, web_fill_text, (int surface, const char16_t* text, int length, double pixels,
                            std::uint32_t colour, double x, double baselineY), {
    const web = Module.web;
    const context = web.surfaces[surface].context;
    context.font = web.fontOf(pixels);
    context.fillStyle = web.colour(colour >>> 0);
    context.fillText(web.utf16(text, length), x, baselineY);
});

EM_JS(double, web_advance, (double pixels, const char16_t* text, int length), {
    return Module.web.advance(pixels, Module.web.utf16(text, length));
});

EM_JS(void, web_present, (int surface), { Module.web.present(surface); });

EM_JS(void, web_loop_pass, (), { Module.web.loopPass(); });

EM_JS(int, web_take_picture_lost, (), {
    const lost = Module.web.pictureLost === true;
    Module.web.pictureLost = false;
    return lost ? 1 : 0;
});

EM_JS(void, web_finish_drawing, (int surface), {
    Module.web.surfaces[surface].context.getImageData(0, 0, 1, 1);
});

EM_JS(int, web_cached_image, (const char* path), {
    return Module.web.cachedImage(UTF8ToString(path));
});

EM_ASYNC_JS(int, web_decode_image, (const char* path), {
    return await Module.web.loadImage(UTF8ToString(path));
});

// Other files know the call by its plain name; the waiting one is imported under
// another, so it is reached through this.
int web_load_image(const char* path) { return web_decode_image(path); }

EM_JS(int, web_image_width, (int image), {
    const entry = Module.web.images[image];
    return entry ? entry.width : 0;
});

EM_JS(int, web_image_height, (int image), {
    const entry = Module.web.images[image];
    return entry ? entry.height : 0;
});

EM_JS(void, web_draw_image, (int surface, int image, double dx, double dy, double dw,
                             double dh, double sx, double sy, double sw, double sh), {
    Module.web.drawImage(surface, image, dx, dy, dw, dh, sx, sy, sw, sh);
});

EM_JS(double, web_device_pixel_ratio, (), { return Module.web.dpr; });

EM_JS(int, web_dialog_create, (int number, const char16_t* caption, int captionLength,
                               int closeBox, int width, int height), {
    return Module.web.dialogCreate(number, Module.web.utf16(caption, captionLength),
                                   closeBox !== 0, width, height);
});

EM_JS(void, web_dialog_add, (int dialog, int id, int kind, const char16_t* caption,
                             int captionLength, int x, int y, int width, int height,
                             int tabStop, int digitsOnly, int border, int radioGroup), {
    Module.web.dialogAdd(dialog, id, kind, Module.web.utf16(caption, captionLength), x, y,
                         width, height, tabStop !== 0, digitsOnly !== 0, border !== 0,
                         radioGroup);
});

EM_JS(void, web_dialog_show, (int dialog, int onPointer), {
    Module.web.dialogShow(dialog, onPointer !== 0);
});

EM_JS(int, web_dialog_take, (int dialog), { return Module.web.dialogTake(dialog); });

EM_JS(void, web_dialog_close, (int dialog), { Module.web.dialogClose(dialog); });

EM_JS(void, web_input_settled, (), { Module.web.settled(); });

EM_JS(int, web_control_text, (int dialog, int id, char16_t* buffer, int capacity), {
    return Module.web.putUtf16(Module.web.controlText(dialog, id), buffer, capacity);
});

EM_JS(void, web_set_control_text, (int dialog, int id, const char16_t* text, int length), {
    Module.web.setControlText(dialog, id, Module.web.utf16(text, length));
});

EM_JS(int, web_is_checked, (int dialog, int id), { return Module.web.isChecked(dialog, id); });

EM_JS(void, web_set_checked, (int dialog, int id, int checked), {
    Module.web.setChecked(dialog, id, checked !== 0);
});

EM_JS(int, web_focused_control, (int dialog), { return Module.web.focusedControl(dialog); });

EM_JS(void, web_set_focus, (int dialog, int id), { Module.web.setFocus(dialog, id); });

EM_JS(void, web_set_enabled, (int dialog, int id, int enabled), {
    Module.web.setEnabled(dialog, id, enabled !== 0);
});

EM_JS(void, web_clear_list, (int dialog, int id), { Module.web.clearList(dialog, id); });

EM_JS(void, web_add_list_item, (int dialog, int id, const char16_t* text, int length), {
    Module.web.addListItem(dialog, id, Module.web.utf16(text, length));
});

EM_JS(void, web_select_list_item, (int dialog, int id, int index), {
    Module.web.selectListItem(dialog, id, index);
});

EM_JS(int, web_selected_list_item, (int dialog, int id), {
    return Module.web.selectedListItem(dialog, id);
});

EM_JS(int, web_message_box, (const char16_t* text, int textLength, const char16_t* caption,
                             int captionLength, int yesNo), {
    return Module.web.messageBox(Module.web.utf16(text, textLength),
                                 Module.web.utf16(caption, captionLength), yesNo !== 0);
});

EM_JS(void, web_set_control_name, (int dialog, int id, const char16_t* name, int length), {
    Module.web.setControlName(dialog, id, Module.web.utf16(name, length));
});

EM_JS(void, web_publish_accessible_text, (const char16_t* name, int nameLength,
                                          const char16_t* line, int lineLength, int fromLine,
                                          const char16_t* lines, int linesLength), {
    const web = Module.web;
    web.publishText(web.utf16(name, nameLength), web.utf16(line, lineLength), fromLine,
                    web.utf16(lines, linesLength));
});

EM_JS(void, web_announce, (const char16_t* text, int length), {
    Module.web.announce(Module.web.utf16(text, length));
});

EM_JS(int, web_read_settings, (char* buffer, int capacity), {
    const text = Module.web.readSettings();
    if (text === null) return -1;
    stringToUTF8(text, buffer, capacity);
    return lengthBytesUTF8(text);
});

EM_JS(int, web_write_settings, (const char* text), {
    return Module.web.writeSettings(UTF8ToString(text)) ? 1 : 0;
});

EM_ASYNC_JS(int, web_await_class_list, (char* buffer, int capacity), {
    const text = await Module.web.readClassList();
    if (text === null) return -1;
    stringToUTF8(text, buffer, capacity);
    return 0;
});

// Known to the store by its plain name, as web_load_image is.
int web_read_class_list(char* buffer, int capacity) {
    return web_await_class_list(buffer, capacity);
}

EM_JS(void, web_set_pupil, (const char16_t* name, int length, const char* fileName), {
    Module.web.setPupil(Module.web.utf16(name, length), UTF8ToString(fileName));
});

EM_JS(void, web_load_cue, (int cue, const char* file), {
    Module.web.loadCue(cue, UTF8ToString(file));
});

EM_JS(void, web_play_cue, (int cue), { Module.web.playCue(cue); });

// A page served without the file gets a 404; one whose server answers every path with
// a page of its own gets HTML, which is no teacher's file either.
EM_ASYNC_JS(int, web_await_teacher_file, (char* buffer, int capacity), {
    try {
        const asked = Module.web.teacherFileAsked;
        Module.web.teacherFileAsked = null;
        const response = await (asked || fetch('teacher.txt', { cache: 'no-cache' }));
        const type = (response && response.headers.get('Content-Type')) || "";
        if (!response || !response.ok || type.indexOf('html') >= 0) return -1;
        const text = await response.text();
        stringToUTF8(text, buffer, capacity);
        return lengthBytesUTF8(text);
    } catch (e) {
        return -1;  // offline, or opened from a file
    }
});

// Known to the store by its plain name, as web_load_image is.
int web_fetch_teacher_file(char* buffer, int capacity) {
    return web_await_teacher_file(buffer, capacity);
}

EM_JS(int, web_prefers_high_contrast, (), {
    const asks = function (query) {
        return typeof window.matchMedia === 'function' && window.matchMedia(query).matches;
    };
    return asks('(prefers-contrast: more)') || asks('(forced-colors: active)') ? 1 : 0;
});
// clang-format on

// The page's own texts looked up in the program's catalogue (web.tr): UTF-8 in, UTF-8
// out, the answer kept until the next call.
extern "C" EMSCRIPTEN_KEEPALIVE const char* bricketing_translate(const char* english) {
    static std::string shown;
    shown = words::toUtf8(tr(english));
    return shown.c_str();
}
