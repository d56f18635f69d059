// The calls from the web backend's C++ into the browser side (Module.web, made by
// WebRuntime.js and the Web*.js files beside it), each a thin wrapper that converts
// numbers and UTF-16 text. Only the backend uses them; the rest of the backend stays
// plain C++ so that it can be tested under Node.
#pragma once

#include <cstdint>

extern "C" {
// Window and input.
void web_init();
// The oldest waiting input, if any, as a WebInputKind (WebInputKind.h). A key's code and
// key names are written into the two buffers, a wheel's turn into wheelDelta.
int web_take_input(int* wheelDelta, char* code, int codeCapacity, char* key, int keyCapacity);
void web_pointer(double* x, double* y);
// Sleeps until input waits or the picture may have to change (the pointer moved over
// the canvas or left it, the page was shown again or rescaled).
void web_wait_for_message();
void web_capture(int on);
void web_show_hand_cursor();
void web_open_document(const char* path);
// The program now looks its texts up in this language: the page shows its own again.
void web_language_changed(const char* code);
// navigator.languages joined by commas, in memory from malloc that the caller frees.
char* web_preferred_languages();
void web_finished(int exitCode);

// Drawing surfaces, text and pictures.
int web_make_surface(int width, int height);
void web_clear(int surface);
void web_begin(int surface);
void web_fill_rect(int surface, std::uint32_t colour, double x, double y, double width,
                   double height);
void web_fill_text(int surface, const char16_t* text, int length, double pixels,
                   std::uint32_t colour, double x, double baselineY);
double web_advance(double pixels, const char16_t* text, int length);
void web_present(int surface);
// One pass of the frame loop has ended (counted for tests: a resting frame presents
// nothing, yet the loop goes on).
void web_loop_pass();
// Whether the page's canvas was made anew (at another pixel density) since last asked.
int web_take_picture_lost();
// Waits until the surface has really drawn what it was given (reads one pixel back).
void web_finish_drawing(int surface);
int web_cached_image(const char* path);
int web_load_image(const char* path);  // waits for the picture to be decoded
int web_image_width(int image);
int web_image_height(int image);
void web_draw_image(int surface, int image, double dx, double dy, double dw, double dh, double sx,
                    double sy, double sw, double sh);
double web_device_pixel_ratio();

// Dialogs and message boxes.
int web_dialog_create(int number, const char16_t* caption, int captionLength, int closeBox,
                      int width, int height);
void web_dialog_add(int dialog, int id, int kind, const char16_t* caption, int captionLength, int x,
                    int y, int width, int height, int tabStop, int digitsOnly, int border,
                    int radioGroup);
void web_dialog_show(int dialog, int onPointer);
int web_dialog_take(int dialog);  // the next command id, or web_no_command
void web_dialog_close(int dialog);
// The program has finished with the commands so far: keys typed meanwhile are replayed.
void web_input_settled();
int web_control_text(int dialog, int id, char16_t* buffer, int capacity);
void web_set_control_text(int dialog, int id, const char16_t* text, int length);
int web_is_checked(int dialog, int id);
void web_set_checked(int dialog, int id, int checked);
int web_focused_control(int dialog);
void web_set_enabled(int dialog, int id, int enabled);
void web_clear_list(int dialog, int id);
void web_add_list_item(int dialog, int id, const char16_t* text, int length);
void web_select_list_item(int dialog, int id, int index);
int web_selected_list_item(int dialog, int id);  // -1 when none
void web_set_focus(int dialog, int id);
int web_message_box(const char16_t* text, int textLength, const char16_t* caption,
                    int captionLength, int yesNo);
// The name a screen reader gives a control, where its caption does not say it.
void web_set_control_name(int dialog, int id, const char16_t* name, int length);

// What a screen reader reads: the board's name, the line being typed and, from line
// fromLine on (none when -1), the working-out above it, which replaces those lines; and
// a notice spoken once.
void web_publish_accessible_text(const char16_t* name, int nameLength, const char16_t* line,
                                 int lineLength, int fromLine, const char16_t* lines,
                                 int linesLength);
void web_announce(const char16_t* text, int length);

// Sound: a cue's WAV bytes handed over once, and a cue played.
void web_load_cue(int cue, const char* file);  // a file beside the page
void web_play_cue(int cue);

// The class list: the teacher's list kept in the page or the site's class.txt, waited
// for (0, or -1 when there is none), and the pupil who picked their name with the name
// their settings are stored under.
int web_read_class_list(char* buffer, int capacity);
void web_set_pupil(const char16_t* name, int length, const char* fileName);

// Settings kept in local storage (the chosen pupil's own, once there is one).
int web_read_settings(char* buffer, int capacity);  // the length, or -1 when none
int web_write_settings(const char* text);           // 1 when stored
// teacher.txt beside the page, fetched; its length, or -1 when there is none.
int web_fetch_teacher_file(char* buffer, int capacity);
int web_prefers_high_contrast();
}

constexpr int web_no_command = -32768;
