// The end-to-end suite of the web page: the built site served on 127.0.0.1 and driven
// in headless Chromium as a pupil would, with the desktop suite's checks on its
// screenshots (same colours at the same places), the page's dialogs, its local storage,
// its end view and its service worker.
//
// Usage: node e2e.mjs [--site build-web/site] [--shots build-web/e2e-shots] [scenario...]

import {
  cpSync, existsSync, mkdtempSync, readdirSync, readFileSync, rmSync, statSync, writeFileSync,
} from "node:fs";
import { tmpdir } from "node:os";
import path from "node:path";
import {
  AWAY_FROM_BUTTONS,
  BUTTONS,
  BUTTON_SIZE,
  Checker,
  Lesson,
  expect,
  launchBrowser,
  repositoryRoot,
  serve,
  sleep,
  waitUntil,
} from "./harness.mjs";

const SETTINGS_KEY = "bricketing.settings";
const EXPERT_TIMES_AUTOPRODUCT = [
  'DISPLAY:TIMES // LOTSOF for "lots of" or TIMES for "x"; changes display in working out',
  "AUTOPRODUCT:ON // ON or OFF; if on, calculates products for each multiple automatically",
  "AUTOREMAINDER:OFF // ON or OFF; if on, calculates the remainder each time automatically",
  "DIFFICULTY:EXPERT // BEGINNER, NOVICE, INTERMEDIATE, ADVANCED, EXPERT",
].join("\n");

const DIVIDEND_TOO_BIG = "The dividend (number being divided) must be less than 10,000.";
// A teacher's file that sets and locks Expert and turns Create Question off.
const TEACHER_LOCKS = "DIFFICULTY:EXPERT\nLOCK:DIFFICULTY\nCREATEQUESTION:OFF\n";
const FIRST_FRAME_LIMIT_MS = 2000;
const SIZE_BUDGET = 1600000;  // 1.5 MB for the program, 100 KB for its catalogues

// Control ids of the dialog templates.
const OK = 1;
const AUTO_PRODUCT = 1002;
const AUTO_REMAINDER = 1003;
const LOTS_OF = 1004;
const TIMES = 1005;
const BEGINNER = 1006;
const EXPERT = 1010;
const YES = 6;
const NO = 7;

function option(name, fallback) {
  const at = process.argv.indexOf(name);
  return at > 0 ? process.argv[at + 1] : fallback;
}

// Shared by the scenarios: the server, the browser (one profile for the whole run, as
// one pupil's browser) and the checker.
// A page whose browser says British English (or the languages given), as the Qt runs pin
// theirs: the drawn checks expect its notation (the browser here says en-US, whose
// catalogue writes "R2").
async function britishPage(browser, languages = ["en-GB", "en"]) {
  const page = await browser.newPage();
  await page.evaluateOnNewDocument((wanted) => {
    Object.defineProperty(navigator, "languages", { get: () => wanted });
    Object.defineProperty(navigator, "language", { get: () => wanted[0] });
  }, languages);
  return page;
}

// The program's own catalogue for a language (Resources/locale/<code>.mo, as the build
// compiles it): say(english, values, plural) gives its text, English where it has none,
// as the program does, with the placeholders filled; `values.count` picks the plural by
// the rule English and Dutch share. `texts` maps every translated message to its text.
function catalogue(code) {
  const mo = readFileSync(path.join(repositoryRoot, "Resources", "locale", `${code}.mo`));
  const word = (at) => mo.readUInt32LE(at);
  const string = (table, i) => mo.toString("utf8", word(table + 8 * i + 4),
    word(table + 8 * i + 4) + word(table + 8 * i));
  const texts = new Map();
  for (let i = 0; i < word(8); i += 1) {
    texts.set(string(word(12), i), string(word(16), i));
  }
  const say = (english, values = {}, plural = null) => {
    const key = plural ? `${english}\0${plural}` : english;
    const forms = (texts.get(key) ?? key).split("\0");
    return forms[forms.length > 1 && values.count !== 1 ? 1 : 0]
      .replace(/\{(\w+)\}/g, (_, name) => String(values[name]));
  };
  return { texts, say };
}

// The texts still shown in English although the catalogue translates them; a text that
// is another message's translation (the Dutch "Beginner" is "Novice") does not count.
function englishLeft(shown, { texts }) {
  const plain = (text) => text.replace(/&/g, "");
  const translated = new Set([...texts.values()].map(plain));
  return shown.filter((text) => !translated.has(text) && [...texts].some(([key, value]) =>
    key && plain(key.split("\u0004").pop()) === text && value !== key.split("\u0004").pop()));
}

class Suite {
  constructor(site, shots) {
    this.site = site;
    this.shots = shots;
  }

  async start() {
    this.server = await serve(this.site);
    this.chromium = await launchBrowser();
    this.checker = new Checker();
  }

  // Each scenario's screenshots go to a folder named after it, emptied at its start and
  // numbered across all its tabs.
  beginScenario(name) {
    this.scenarioShots = path.join(this.shots, name.replace(/[A-Z]/g, (c) => "-" + c.toLowerCase()));
    rmSync(this.scenarioShots, { recursive: true, force: true });
    this.stages = { count: 0 };
  }

  // A new tab on the site, seen as a Lesson whose shots go to the scenario's folder;
  // with `settings`, the program is started from that text in local storage (null: none).
  // `query` is added to the page's address; `ratio` is the screen's pixels per CSS pixel.
  async open({ settings, query = "", languages, ratio = 1, server = this.server } = {}) {
    const page = await britishPage(this.chromium.browser, languages);
    await page.setViewport({ width: 1280, height: 720, deviceScaleFactor: ratio });
    page.on("pageerror", (error) => console.log(`  page error: ${error.message}`));
    const lesson = new Lesson(page, this.checker, this.scenarioShots, this.stages);
    lesson.loadStarted = Date.now();
    await page.goto(server.url + query, { waitUntil: "domcontentloaded" });
    if (settings !== undefined) {
      await setStoredSettings(page, settings);
    }
    return lesson;
  }

  // The site served from a copy of its own with more files beside it (name to text), as
  // a school's server puts a teacher's or class file there; stopped and removed by close().
  async siteWith(files) {
    const folder = mkdtempSync(path.join(tmpdir(), "bricketing-site-"));
    cpSync(this.site, folder, { recursive: true });
    for (const [name, text] of Object.entries(files)) {
      writeFileSync(path.join(folder, name), text);
    }
    const server = await serve(folder);
    (this.copies ??= []).push({ server, folder });
    return server;
  }

  async close() {
    for (const { server, folder } of this.copies ?? []) {
      await server.stop();
      rmSync(folder, { recursive: true, force: true });
    }
    this.checker?.close();
    await this.chromium?.close();
    await this.server?.stop();
  }
}

// Puts the settings text in local storage (null removes it) and reloads, so the
// program starts from it.
async function setStoredSettings(page, text) {
  const current = await page.evaluate((key) => localStorage.getItem(key), SETTINGS_KEY);
  if (current === text) {
    return;
  }
  await page.evaluate(
    (key, value) => (value === null ? localStorage.removeItem(key) : localStorage.setItem(key, value)),
    SETTINGS_KEY,
    text,
  );
  await page.reload({ waitUntil: "domcontentloaded" });
}

async function waitForQuestion(lesson, name = "start") {
  return lesson.waitForLook(
    name,
    [["count", "HEADER_COLOUR", "HEADER_BOX"]],
    (headerPixels) => headerPixels > 50,
    "a question in the header",
  );
}

// Through the Create Question dialog: the dividend, Enter, the divisor, Enter.
async function createQuestion(lesson, dividend, divisor) {
  await lesson.openDialog("Create Question", "create-question");
  await lesson.look("create-question-open");
  await lesson.enterNumber(dividend);
  await lesson.enterNumber(divisor);
  await lesson.waitUntilClosed("create-question");
  await lesson.moveTo(...AWAY_FROM_BUTTONS);
  const question = `${dividend} ÷ ${divisor}`;
  return lesson.waitForLook(
    `question-${dividend}-by-${divisor}`,
    [
      ["shows_header", question],
      ["shows_on_line", 0, "AMOUNTS_COLUMN", String(dividend), "INK_COLOUR"],
      ["entry_row_on", 1, "MULTIPLES_COLUMN"],
      ["caption_pixels"],
    ],
    (header, dividendShown, entryRow, captionPixels) =>
      header && dividendShown && entryRow && captionPixels === 0,
    `the header "${question}", a fresh working-out and no caption`,
  );
}

// The pupil works 100 ÷ 7 through: 10 lots of 7 (70, leaving 30), 4 lots of 7 with a
// wrong product first (27, shown in the error colour, named by the tutor and cleared by
// the next key), then 28, leaving 2, and the answer 14 with the tutor's praise. Each
// step waits for the working-out to show it.
// `type` presses the keys (the keyboard by default); `tenKeys` type the first multiple.
async function work100By7(lesson, type = (...keys) => lesson.keys(...keys),
  tenKeys = ["1", "0", "Enter"]) {
  const step = async (name, keys, questions, accept, what) => {
    await type(...keys);
    return lesson.waitForLook(name, questions, accept, what);
  };
  const all = (...answers) => answers.every((answer) => answer === true);

  await step("multiple-10", tenKeys,
    [["entry_row_on", 1, "AMOUNTS_COLUMN"],
      ["shows_on_line", 1, "MULTIPLES_COLUMN", "10", "INK_COLOUR"]],
    all, "the product to be asked for beside 10");
  await step("product-70", ["7", "0", "Enter"],
    [["entry_row_on", 2, "AMOUNTS_COLUMN"],
      ["shows_on_line", 1, "AMOUNTS_COLUMN", "70", "INK_COLOUR"]],
    all, "the remainder to be asked for under 70");
  await step("remainder-30", ["3", "0", "Enter"],
    [["entry_row_on", 3, "MULTIPLES_COLUMN"],
      ["shows_on_line", 1, "MULTIPLES_COLUMN", "10", "QUOTIENT_COLOUR"],
      ["shows_on_line", 1, "AMOUNTS_COLUMN", "70", "SPENT_COLOUR"],
      ["shows_on_line", 2, "AMOUNTS_COLUMN", "30", "INK_COLOUR"]],
    all, "the first step completed, 30 remaining");
  await step("multiple-4", ["4", "Enter"],
    [["entry_row_on", 3, "AMOUNTS_COLUMN"]], all, "the product to be asked for beside 4");
  const slip = "Not quite. What are 4 lots of 7?";
  const wrong = await step("wrong-product-27", ["2", "7", "Enter"],
    [["entry_error_pixels"], ["entry_row_on", 3, "AMOUNTS_COLUMN", "ENTRY_ERROR_COLOUR"],
      ["tutor_says", slip]],
    (errorPixels, onPlace, says) => errorPixels > 40 && says,
    `the entry row in the error colour and the tutor saying "${slip}"`);
  expect(wrong.answers[1], "the error colour is not on the product's place");
  // The key after a wrong entry only clears it: the 2 must not be typed.
  await step("error-cleared", ["2"],
    [["entry_error_pixels"], ["entry_row_on", 3, "AMOUNTS_COLUMN"]],
    (errorPixels, entryRow) => errorPixels === 0 && entryRow, "the error colour to go");
  await step("product-28", ["2", "8", "Enter"],
    [["entry_row_on", 4, "AMOUNTS_COLUMN"], ["entry_error_pixels"]],
    (entryRow, errorPixels) => entryRow && errorPixels === 0,
    "the remainder to be asked for under 28");
  await step("remainder-2", ["2", "Enter"],
    [["entry_row_on", 4, "MULTIPLES_COLUMN"],
      ["shows_on_line", 4, "AMOUNTS_COLUMN", "2", "REMAINDER_COLOUR"]],
    all, "the answer to be asked for beside the remainder 2");
  const praise = "You spotted your slips and put them right. Well done for keeping going. " +
    "Check: 14 × 7 + 2 = 100.";
  return step("answer-14", ["1", "4", "Enter"],
    [["shows_quotient", "= 14"], ["tutor_says", praise]], all,
    `the answer "= 14" under the header and the tutor saying "${praise}"`);
}

// The first frame: board colour, the six buttons and the logo, within 2 s of load.
async function firstFrame(suite) {
  const lesson = await suite.open({ settings: null });
  const began = Date.now();
  await lesson.page.reload({ waitUntil: "domcontentloaded" });
  await waitUntil(
    () => lesson.page.evaluate(() => window.bricketingPage?.firstFrameAt ?? null),
    10000, "the program's first frame");
  const firstFrameAt = await lesson.page.evaluate(() => window.bricketingPage.firstFrameAt);
  console.log(`  first frame ${firstFrameAt.toFixed(0)} ms after the navigation began ` +
    `(${Date.now() - began} ms by the test's clock, screenshot included)`);
  expect(firstFrameAt <= FIRST_FRAME_LIMIT_MS,
    `the first frame came ${firstFrameAt.toFixed(0)} ms after load, more than 2 s`);

  const { shot, answers } = await waitForQuestion(lesson);
  const resources = path.join(repositoryRoot, "Resources");
  const buttons = Object.entries({
    btnNewQuestion: [525, 250], btnCreateQuestion: [603, 250], btnRestartQuestion: [681, 250],
    btnSettings: [525, 328], btnHelp: [603, 328], btnExit: [681, 328],
  });
  const [board1, board2, beside, division, logo, ...buttonDifferences] = await lesson.ask(shot, [
    ["pixel", 470, 560], ["pixel", 10, 300], ["pixel", 700, 200],
    ["header_reads_as_division"],
    ["picture_difference", path.join(resources, "Quillmoor_200.png"), 500, 490],
    ...buttons.map(([file, [x, y]]) =>
      ["picture_difference", path.join(resources, `${file}.png`), x, y, [0, 0, 75, 75]]),
  ]);
  expect(answers[0] > 50, "no question in the header");
  const beige = [0xee, 0xe2, 0xb7];
  expect(same(board1, beige) && same(board2, beige),
    `the working-out panel is not beige at (470, 560) and (10, 300): ${board1}, ${board2}`);
  expect(same(beside, [255, 255, 255]), `the page is not white beside the header: ${beside}`);
  expect(division.glyphs >= 4 && division.glyphs <= 9 && division.division,
    `the header does not read as a division (${division.glyphs} glyphs), see ${shot.path}`);
  expect(logo < 0.02, `the logo is not drawn at (500, 490): ${(logo * 100).toFixed(1)} % differs`);
  buttons.forEach(([file], i) => expect(buttonDifferences[i] < 0.02,
    `${file} is not drawn in its place: ${(buttonDifferences[i] * 100).toFixed(1)} % differs`));
  const entry = await lesson.ask(shot, [["entry_row_on", 1, "MULTIPLES_COLUMN"]]);
  expect(entry[0], "the entry row is not on the first line after the dividend");

  const canvas = await lesson.page.evaluate(() => {
    const board = document.getElementById("board");
    const box = board.getBoundingClientRect();
    return { width: box.width, height: box.height, backing: [board.width, board.height],
      ratio: window.devicePixelRatio, menu: board.dispatchEvent(
        new MouseEvent("contextmenu", { bubbles: true, cancelable: true })) };
  });
  expect(canvas.width === 800 && canvas.height === 600,
    `the canvas is ${canvas.width} x ${canvas.height} on the page, not 800 x 600`);
  expect(canvas.backing[0] === 800 * canvas.ratio && canvas.backing[1] === 600 * canvas.ratio,
    `the canvas holds ${canvas.backing.join(" x ")} pixels at a pixel ratio of ${canvas.ratio}`);
  expect(!canvas.menu, "the canvas lets its context menu open");
  await lesson.page.close();
}

function same(a, b) {
  return Array.isArray(a) && a.length === b.length && a.every((v, i) => v === b[i]);
}

// Create Question refuses 12345 with the Error box and, cancelled, changes nothing;
// 100, Enter, 7, Enter starts 100 ÷ 7, which is then worked with one wrong entry.
async function createAndSolve(suite) {
  const lesson = await suite.open({ settings: null });
  const { shot: before } = await waitForQuestion(lesson);

  await lesson.openDialog("Create Question", "create-question");
  await lesson.look("create-question-open");
  const dividendFocused = await lesson.controlState("create-question", 1015);
  expect(dividendFocused.focused, "the dividend edit does not have the focus");
  await lesson.enterNumber(12345);
  const refusal = await lesson.messageBox();
  await lesson.look("dividend-refused");
  expect(refusal.caption === "Error" && refusal.text === DIVIDEND_TOO_BIG,
    `the Error box says "${refusal.caption}": "${refusal.text}"`);
  expect(refusal.buttons.length === 1 && refusal.buttons[0].id === String(OK),
    "the Error box has other buttons than OK");
  await lesson.keys("Enter");
  await lesson.waitUntilClosed("message-box");
  expect(await lesson.dialogShown("create-question"), "Create Question closed with the Error box");
  const emptied = await lesson.controlState("create-question", 1015);
  expect(emptied.value === "" && emptied.focused,
    `the dividend edit holds "${emptied.value}" after the refusal, or lost the focus`);
  await lesson.keys("Escape");
  await lesson.waitUntilClosed("create-question");
  await lesson.moveTo(...AWAY_FROM_BUTTONS);
  const { shot: after } = await lesson.waitForLook("cancelled",
    [["caption_pixels"]], (caption) => caption === 0, "the caption to go");
  const [changed] = await lesson.ask(after, [["differing_pixels", before.path, "HEADER_BOX"]]);
  expect(changed === 0, "cancelling Create Question changed the question");

  const { shot } = await createQuestion(lesson, 100, 7);
  // The text check must tell neighbouring questions apart, or it proves nothing.
  const [near1, near2] = await lesson.ask(shot,
    [["shows_header", "101 ÷ 7"], ["shows_header", "100 ÷ 1"]]);
  expect(!near1 && !near2, "the header check cannot tell 100 ÷ 7 from its neighbours");

  const { shot: solved } = await work100By7(lesson);
  const [remainder, answer, wrongAnswer, errorPixels, remainderText, answerText] =
    await lesson.ask(solved, [
      ["shows_remainder_part", " rem.2"],
      ["shows_on_line", 4, "MULTIPLES_COLUMN", "14", "QUOTIENT_COLOUR"],
      ["shows_quotient", "= 13"],
      ["entry_error_pixels"],
      ["describe_in_box", "ANSWER_BOX", " rem.2", "REMAINDER_COLOUR"],
      ["describe_on_line", 4, "MULTIPLES_COLUMN", "14", "QUOTIENT_COLOUR"],
    ]);
  expect(remainder, "the remainder part is missing: " + remainderText);
  expect(answer, "the working-out does not end with the answer: " + answerText);
  expect(!wrongAnswer, "the answer check cannot tell 14 from 13");
  expect(errorPixels === 0, "something is still in the error colour");
  await lesson.page.close();
}

// Each button's caption appears centred under the buttons and goes when the pointer
// leaves.
async function hoverCaptions(suite) {
  const lesson = await suite.open({ settings: null });
  await waitForQuestion(lesson);
  await lesson.moveTo(...AWAY_FROM_BUTTONS);
  for (const name of ["New Question", "Create Question", "Restart Question", "Settings",
    "Help", "Exit"]) {
    const { shot } = await lesson.hoverButton(name);
    const other = name === "Restart Question" ? "New Question" : "Restart Question";
    const [otherShown, bounds] = await lesson.ask(shot,
      [["shows_caption", other], ["bounds", "CAPTION_COLOUR", "CAPTION_BOX"]]);
    expect(!otherShown, `the caption check cannot tell "${name}" from "${other}"`);
    const centre = (bounds[0] + bounds[2]) / 2;
    expect(Math.abs(centre - 650) <= 3, `the caption "${name}" is centred on x ${centre}, not 650`);
  }
  await lesson.moveTo(...AWAY_FROM_BUTTONS);
  await lesson.waitForLook("caption-gone", [["caption_pixels"]], (pixels) => pixels === 0,
    "the caption to go");
  await lesson.page.close();
}

// Settings "x", Expert and AutoProduct on: OK writes the four lines to local storage;
// after a reload the dialog holds them, the question is an Expert one, the working-out
// uses the times sign and gives the products.
async function settings(suite) {
  const lesson = await suite.open({ settings: null });
  const { shot } = await waitForQuestion(lesson);
  const [lotsOfWidth] = await lesson.ask(shot, [["ink_width_on_line", 1, "WORDING_COLUMN"]]);

  await lesson.openDialog("Settings", "settings");
  await lesson.look("settings-open");
  expect((await lesson.controlState("settings", LOTS_OF)).checked,
    'the Settings dialog does not start on "lots of", as the working-out shows');
  if (!(await lesson.controlState("settings", AUTO_PRODUCT)).checked) {
    await lesson.clickControl("settings", AUTO_PRODUCT);
  }
  if ((await lesson.controlState("settings", AUTO_REMAINDER)).checked) {
    await lesson.clickControl("settings", AUTO_REMAINDER);
  }
  await lesson.clickControl("settings", TIMES);
  await lesson.clickControl("settings", EXPERT);
  await lesson.look("settings-chosen");
  // Cancel first: nothing may be written.
  const storedBefore = await stored(lesson.page);
  await lesson.keys("Escape");
  await lesson.waitUntilClosed("settings");
  expect((await stored(lesson.page)) === storedBefore, "Cancel wrote the settings");

  await lesson.openDialog("Settings", "settings");
  await lesson.clickControl("settings", AUTO_PRODUCT);
  await lesson.clickControl("settings", TIMES);
  await lesson.clickControl("settings", EXPERT);
  await lesson.keys("Enter");
  await lesson.waitUntilClosed("settings");
  await waitUntil(async () => (await stored(lesson.page)) === EXPERT_TIMES_AUTOPRODUCT, 5000,
    `local storage to hold the new settings (it holds ${JSON.stringify(await stored(lesson.page))})`);

  await lesson.page.reload({ waitUntil: "domcontentloaded" });
  const { shot: again } = await waitForQuestion(lesson, "reloaded");
  const [glyphs, timesWidth] = await lesson.ask(again,
    [["header_glyphs"], ["ink_width_on_line", 1, "WORDING_COLUMN"]]);
  expect(glyphs === 7, `the question is not an Expert one (four-digit dividend, two-digit ` +
    `divisor): ${glyphs} glyphs in the header, see ${again.path}`);
  expect(timesWidth > 0 && timesWidth < 90 && lotsOfWidth > 120,
    `the wording is ${timesWidth} px wide with "x" and ${lotsOfWidth} px with "lots of"`);

  await lesson.openDialog("Settings", "settings");
  await lesson.look("settings-reopened");
  const kept = {
    autoProduct: (await lesson.controlState("settings", AUTO_PRODUCT)).checked,
    autoRemainder: (await lesson.controlState("settings", AUTO_REMAINDER)).checked,
    times: (await lesson.controlState("settings", TIMES)).checked,
    expert: (await lesson.controlState("settings", EXPERT)).checked,
  };
  expect(kept.autoProduct && !kept.autoRemainder && kept.times && kept.expert,
    `after a reload the Settings dialog shows ${JSON.stringify(kept)}`);
  await lesson.keys("Escape");
  await lesson.waitUntilClosed("settings");
  // With automatic products a multiple of 2 goes straight on to the remainder.
  await lesson.moveTo(...AWAY_FROM_BUTTONS);
  await lesson.keys("2", "Enter");
  await lesson.waitForLook("automatic-product", [["entry_row_on", 2, "AMOUNTS_COLUMN"]],
    (entryRow) => entryRow, "the remainder to be asked for at once");
  await setStoredSettings(lesson.page, null);
  await lesson.page.close();

  // A teacher's file beside the site sets and locks Expert and turns Create Question off,
  // over the pupil's Beginner: the questions are Expert ones, Create Question says the
  // teacher turned it off, and in Settings the difficulty is shown, greyed, unchanged
  // by a click on Beginner (which changed the level above when it was not locked).
  const taught = await suite.open({ settings: PLAIN_SETTINGS_TEXT,
    server: await suite.siteWith({ "teacher.txt": TEACHER_LOCKS }) });
  const { shot: expert } = await waitForQuestion(taught, "taught");
  const [taughtGlyphs] = await taught.ask(expert, [["header_glyphs"]]);
  expect(taughtGlyphs === 7, `the teacher's Expert is not used: ${taughtGlyphs} glyphs in the ` +
    `header, see ${expert.path}`);
  await taught.pressButton("Create Question");
  const turnedOff = await taught.messageBox();
  expect(turnedOff.text.startsWith("Your teacher has turned Create Question off."),
    `Create Question with the teacher's file turned it off says "${turnedOff.text}"`);
  await taught.look("create-question-turned-off");
  await taught.keys("Enter");
  await taught.waitUntilClosed("message-box");
  await taught.openDialog("Settings", "settings");
  await taught.clickControl("settings", BEGINNER);
  await taught.look("settings-locked");
  const [beginner, expertShown] = [await taught.controlState("settings", BEGINNER),
    await taught.controlState("settings", EXPERT)];
  expect(beginner.disabled && !beginner.checked && expertShown.checked,
    `the locked difficulty in Settings: Beginner ${JSON.stringify(beginner)}, Expert ` +
    JSON.stringify(expertShown));
  await taught.keys("Enter");
  await taught.waitUntilClosed("settings");
  await waitUntil(async () => /^DIFFICULTY:EXPERT/m.test(await stored(taught.page) ?? ""), 5000,
    async () => `Expert kept in the pupil's settings (they hold ${await stored(taught.page)})`);
  await taught.page.close();
}

async function stored(page) {
  return page.evaluate((key) => localStorage.getItem(key), SETTINGS_KEY);
}

// Escape asks "Had enough?"; No goes back to the lesson, Yes ends the program and
// shows the end view, whose button starts the program again.
async function exitPrompt(suite) {
  const lesson = await suite.open({ settings: null });
  const { shot: before } = await waitForQuestion(lesson);
  await lesson.moveTo(...AWAY_FROM_BUTTONS);

  await lesson.keys("Escape");
  const prompt = await lesson.messageBox();
  await lesson.look("had-enough");
  expect(prompt.caption === "Had enough?" && prompt.text === "Finished bricketing for today?",
    `the exit prompt says "${prompt.caption}": "${prompt.text}"`);
  const ids = prompt.buttons.map((button) => button.id).join(",");
  expect(ids === `${YES},${NO}` && prompt.buttons[0].isDefault,
    `the exit prompt's buttons are ${ids}, not Yes (the default) and No`);
  const passesBefore = await lesson.loopPasses();
  await sleep(300);
  expect((await lesson.loopPasses()) === passesBefore, "the frame loop runs while the prompt is open");
  await lesson.clickControl("message-box", NO);
  await lesson.waitUntilClosed("message-box");
  // A loop at rest waits for the next event, so a pass or two is all there is to see.
  await waitUntil(async () => (await lesson.loopPasses()) > passesBefore, 5000,
    "the frame loop to go on after No");
  await lesson.keys("4");
  await lesson.waitForLook("back-to-lesson",
    [["differing_pixels", before.path, "BOARD_BOX"]], (differing) => differing > 0,
    "keys to reach the working-out again");
  expect(!(await lesson.page.$eval("#finished", (view) => !view.hidden)),
    "the end view shows although the answer was No");

  await lesson.keys("Escape");
  await lesson.messageBox();
  await lesson.keys("Enter"); // Yes is the default button
  await lesson.page.waitForSelector("#finished:not([hidden])", { timeout: 10000 });
  const ended = await lesson.page.evaluate(() => ({
    exitCode: window.bricketingPage.exitCode,
    programShown: !document.getElementById("program").hidden,
    title: document.getElementById("finished-title").textContent,
    focused: document.activeElement?.id,
  }));
  await lesson.look("finished");
  expect(ended.exitCode === 0, `the program ended with ${ended.exitCode}, not 0`);
  expect(!ended.programShown, "the canvas still shows after Yes");
  expect(ended.title === "Finished for today", `the end view says "${ended.title}"`);
  expect(ended.focused === "start-again", "the Start again button does not have the focus");
  const passesAtEnd = await lesson.loopPasses();
  await sleep(300);
  expect((await lesson.loopPasses()) === passesAtEnd, "the frame loop still runs after Yes");

  await Promise.all([
    lesson.page.waitForNavigation({ waitUntil: "domcontentloaded", timeout: 10000 }),
    lesson.page.click("#start-again"),
  ]);
  await waitForQuestion(lesson, "started-again");
  await lesson.page.close();
}

// After the visits above the service worker holds every file of the site: with the
// server stopped, a new tab still starts the program and the help page still opens.
async function offline(suite) {
  const lesson = await suite.open();
  const cached = await lesson.page.evaluate(async () => {
    // No worker after 10 s counts as none, rather than waiting for ever.
    const registration = await Promise.race([navigator.serviceWorker.ready,
      new Promise((resolve) => setTimeout(() => resolve({ active: null }), 10000))]);
    const list = await (await fetch("precache.json")).json();
    const names = await caches.keys();
    const cache = await caches.open(
      names.find((name) => name.endsWith(" " + list.version)) ?? "none");
    const missing = [];
    for (const file of list.files) {
      if (!(await cache.match(encodeURI(file)))) {
        missing.push(file);
      }
    }
    return { active: !!registration.active, names, version: list.version, count: list.files.length, missing };
  });
  console.log(`  cache ${cached.names.join(", ")}: ${cached.count} files listed, ` +
    `${cached.missing.length} missing`);
  expect(cached.active, "no service worker is active after the first visit");
  expect(cached.names.length === 1 && cached.names[0] ===
    `bricketing ${suite.server.url} ${cached.version}`,
    `the caches are ${cached.names.join(", ")}, not one for version ${cached.version}`);
  expect(cached.missing.length === 0, `not cached: ${cached.missing.join(", ")}`);
  // Installable: Chromium finds nothing missing in the manifest and its icons.
  const devtools = await lesson.page.createCDPSession();
  const { installabilityErrors } = await devtools.send("Page.getInstallabilityErrors");
  const { errors: manifestErrors } = await devtools.send("Page.getAppManifest");
  expect(installabilityErrors.length === 0 && manifestErrors.length === 0,
    `the page is not installable: ${JSON.stringify([installabilityErrors, manifestErrors])}`);
  // Every visit so far shared the browser's cache: the worker's precaching asked the
  // server whether its copies were current, and downloaded no file a second time.
  const downloads = new Map();
  for (const { path: file, status } of suite.server.requests) {
    if (status === 200) {
      downloads.set(file, (downloads.get(file) ?? 0) + 1);
    }
  }
  // The tab's own icon is the browser's to fetch, when and as often as it likes (beside
  // the page, not through it), so only the page's and the worker's downloads count.
  const browsersOwn = ["/precache.json", "/icons/bricketing_32.png"];
  const twice = [...downloads].filter(([file, count]) => count > 1 && !browsersOwn.includes(file));
  console.log(`  ${downloads.size} files downloaded, ${twice.length} more than once`);
  expect(downloads.has("/bricketing.wasm") && twice.length === 0,
    `downloaded more than once: ${twice.map(([file, count]) => `${file} (${count})`).join(", ")}`);
  // Another copy of the page elsewhere on the same site keeps its caches in the same
  // storage; this copy's new build must leave them alone.
  const otherCopy = `bricketing ${suite.server.url}other-copy/ 0123456789abcdef`;
  await lesson.page.evaluate((name) => caches.open(name), otherCopy);
  await lesson.page.close();

  await suite.server.stop();
  const cut = await suite.open();
  await waitUntil(() => cut.page.evaluate(() => window.bricketingPage?.firstFrameAt ?? null),
    10000, "the first frame with the server stopped");
  const { shot } = await waitForQuestion(cut, "no-network");
  const [board] = await cut.ask(shot, [["pixel", 470, 560]]);
  expect(same(board, [0xee, 0xe2, 0xb7]), "the board is not drawn with the server stopped");
  const help = await cut.page.evaluate(async () => {
    const response = await fetch("Help/help.html");
    return { ok: response.ok, text: await response.text() };
  });
  expect(help.ok && help.text.includes("Bricketing help"), "the help page is not there offline");
  const translated = await cut.page.evaluate(async () => {
    const response = await fetch("Help/help.nl.html.gz");
    const unpacked = response.body.pipeThrough(new DecompressionStream("gzip"));
    return { ok: response.ok, text: await new Response(unpacked).text() };
  });
  expect(translated.ok && translated.text.includes("Hulp bij Bricketing"),
    "the Dutch help page is not there offline");
  await cut.page.setOfflineMode(true);
  await cut.page.reload({ waitUntil: "domcontentloaded" });
  await waitForQuestion(cut, "offline-mode");
  await cut.page.setOfflineMode(false);

  // A new build (here: the same files under a new version) replaces the cache at the
  // next visit with a network, on the same address.
  const next = mkdtempSync(path.join(tmpdir(), "bricketing-next-build-"));
  try {
    cpSync(suite.site, next, { recursive: true });
    const list = JSON.parse(readFileSync(path.join(next, "precache.json"), "utf8"));
    const version = `${list.version}-next`;
    writeFileSync(path.join(next, "precache.json"), JSON.stringify({ ...list, version }));
    suite.server = await serve(next, suite.server.port);
    await cut.page.reload({ waitUntil: "domcontentloaded" });
    await waitForQuestion(cut, "next-build");
    const ownCache = `bricketing ${suite.server.url} ${version}`;
    const names = await waitUntil(async () => {
      const keys = (await cut.page.evaluate(() => caches.keys())).sort();
      return keys.length === 2 && keys.includes(ownCache) && keys.includes(otherCopy)
        ? keys : null;
    }, 15000, `the new build's cache and the other copy's (version ${version})`);
    console.log(`  after the new build: ${names.join(", ")}`);
    // The page that was running says so, and goes on; the next start is the new build.
    const note = await waitUntil(() => cut.page.evaluate(() => {
      const shown = document.getElementById("update-ready");
      return window.bricketingPage.updateReady && shown && !shown.hidden
        ? shown.textContent : null;
    }), 15000, 'the note "a new version is ready"');
    expect(/a new version is ready/i.test(note), `the page said "${note}"`);
    await cut.page.reload({ waitUntil: "domcontentloaded" });
    await waitForQuestion(cut, "new-build-started");
    const controller = await cut.page.evaluate(
      () => navigator.serviceWorker.controller?.scriptURL ?? "");
    expect(controller.endsWith(encodeURIComponent(version)),
      `the page after the new build is served by ${controller}`);
    expect(await cut.page.evaluate(() => document.getElementById("update-ready").hidden),
      "the new build's first start still says a new version is ready");
    await cut.page.close();
    await suite.server.stop();
  } finally {
    rmSync(next, { recursive: true, force: true });
  }
}

// Help opens the help page in a panel over the program, which keeps running behind it:
// the working-out is as it was once the panel is closed.
async function checkHelp(lesson, open, close, page = "help.html", title = "Bricketing help") {
  const { shot: before } = await lesson.waitForLook("before-help", [], () => true, "a look");
  await open();
  const help = await lesson.waitForHelp();
  const shown = await lesson.page.$eval(".help-panel iframe", (frame) => frame.dataset.page);
  expect(shown === `Help/${page}` && help.title === title,
    `Help opened ${shown} at ${help.url} ("${help.title}")`);
  await lesson.lookAtPage("help-panel");
  await close();
  await lesson.page.waitForSelector(".help-panel", { hidden: true, timeout: 5000 });
  const { shot: after } = await lesson.waitForLook("help-closed", [["caption_pixels"]],
    (caption) => caption === 0, "the program again, without a caption");
  const [changed] = await lesson.ask(after, [["differing_pixels", before.path, "BOARD_BOX"]]);
  expect(changed === 0, `the working-out changed behind the help panel (${changed} pixels)`);
}

// A press on the logo opens About, which Escape does not close and OK does; Help opens
// the help page in its panel.
async function aboutAndHelp(suite) {
  const lesson = await suite.open({ settings: null });
  await waitForQuestion(lesson);
  await lesson.moveTo(600, 530);
  await lesson.page.mouse.down();
  await lesson.page.mouse.up();
  const about = await lesson.waitForDialog("about");
  // The picture is fetched when the dialog opens; on a busy machine it may arrive a
  // moment after the dialog itself.
  await waitUntil(() => lesson.page.$eval(`${about} img.picture`, (img) =>
    img.complete && img.naturalWidth === 400 && img.naturalHeight === 173 ? true : null),
  10000, "the About picture (400 x 173) shown");
  await lesson.look("about");
  await lesson.keys("Escape");
  await sleep(300);
  expect(await lesson.dialogShown("about"), "Escape closed the About dialog");
  await lesson.clickControl("about", OK);
  await lesson.waitUntilClosed("about");

  await checkHelp(lesson, () => lesson.pressButton("Help"),
    () => lesson.page.click("[data-help-close]"));
  await lesson.page.close();

  // In Dutch, Help opens the Dutch page (unpacked from Help/help.nl.html.gz), as the web
  // build leaves it: the web's own part shown, the desktop's files left out, its pictures
  // found, and a link within it scrolls the page rather than leaving it.
  const dutch = await suite.open({ settings: `${EXPERT_TIMES_AUTOPRODUCT}\nLANGUAGE:nl` });
  await waitUntil(() => dutch.page.evaluate(() => window.bricketingPage?.firstFrameAt ?? null),
    10000, "the first frame in Dutch");
  await dutch.tapButton("Help");
  const help = await dutch.waitForHelp();
  const frame = ".help-panel iframe";
  const shownPage = await dutch.page.$eval(frame, (element) => element.dataset.page);
  expect(shownPage === "Help/help.nl.html" && help.title === "Hulp bij Bricketing",
    `Help in Dutch opened ${shownPage} ("${help.title}")`);
  const readPage = () => dutch.page.$eval(frame, (element) => {
    const shown = element.contentDocument;
    const webOnly = shown.querySelector(".web-only");
    const mox = shown.querySelector("img.mox");
    return { lang: shown.documentElement.lang, webShown: Boolean(webOnly && !webOnly.hidden),
             text: shown.body.textContent, moxWidth: mox?.naturalWidth ?? 0,
             styled: getComputedStyle(shown.body).backgroundColor !== "rgba(0, 0, 0, 0)",
             scrolled: element.contentWindow.scrollY, title: shown.title };
  });
  await waitUntil(async () => (await readPage()).moxWidth > 0, 10000, "the Dutch page's pictures");
  const page = await readPage();
  expect(page.lang === "nl" && page.webShown && !page.text.includes("moet worden hersteld")
    && page.styled, `the Dutch help page is not the web's (${JSON.stringify({ ...page, text: "" })})`);
  await dutch.lookAtPage("help-panel-dutch");
  await dutch.page.$eval(frame, (element) =>
    element.contentDocument.querySelector('nav a[href="#keys"]').click());
  await waitUntil(async () => (await readPage()).scrolled > 0, 5000, "the page scrolled to #keys");
  expect((await readPage()).title === "Hulp bij Bricketing", "a link within the Dutch page left it");
  await dutch.page.close();
}

// Tablets, a phone and a touch Chromebook, by touch alone (no key events at all): the
// picture fits the screen at 4 : 3, sharp; one tap is one click and leaves no caption;
// the question is typed as a soft keyboard inserts text and worked with the number pad,
// whose direction key flips the row; Help opens. The checks read the canvas's own
// pixels at one device pixel per picture pixel, holding it to the desktop's picture.
const TOUCH_VIEWPORTS = [
  { name: "ipad-portrait", width: 768, height: 1024, ratio: 2, mobile: true, turn: true },
  { name: "ipad-landscape", width: 1024, height: 700, ratio: 2, mobile: true, toggle: true },
  { name: "phone", width: 390, height: 844, ratio: 3, mobile: true, drag: true },
  { name: "small-phone", width: 360, height: 640, ratio: 2, mobile: true, boardKeys: true },
  { name: "chromebook", width: 1366, height: 768, ratio: 1.25, mobile: false },
];
const PAD_NAMES = "1,2,3,Backspace,4,5,6,Delete,7,8,9,Repeat,Switch direction,0,Up,Enter";

async function touch(suite) {
  for (const viewport of TOUCH_VIEWPORTS) {
    await touchRun(suite, viewport);
  }
}

// Sets the screen; with `exact`, as many device pixels per CSS pixel as make one per
// picture pixel, and waits for the canvas to follow.
async function setScreen(lesson, { width, height, ratio, mobile }, exact = false) {
  const deviceScaleFactor = exact ? 800 / (await lesson.canvasBox()).width : ratio;
  await lesson.page.setViewport({ width, height, deviceScaleFactor, isMobile: mobile,
    hasTouch: true, isLandscape: width > height });
  // A browser tells the page of a new pixel density with a resize; the emulated one does
  // not, and a program at rest would never look, so send what a real browser sends.
  await lesson.page.evaluate(() => window.dispatchEvent(new Event("resize")));
  await waitUntil(async () => {
    const box = await lesson.canvasBox();
    return box.right <= width && box.backing[0] === Math.round(box.width * deviceScaleFactor);
  }, 5000, "the picture to fit the screen");
}

// Picture and pad inside the screen, the picture 4 : 3 with a backing store of its size
// times the pixel ratio, the pad beside it in landscape and below in portrait, its keys
// a finger's size and named for screen readers.
async function checkFit(lesson, { width, height, ratio }) {
  const canvas = await lesson.canvasBox();
  const pad = await lesson.page.$$eval(".number-pad:not([hidden]) .pad-key", (keys) => {
    const boxes = keys.map((key) => key.getBoundingClientRect());
    return { names: keys.map((key) => key.getAttribute("aria-label")).join(),
      smallest: Math.min(...boxes.map((box) => Math.min(box.width, box.height))),
      left: Math.min(...boxes.map((box) => box.left)), top: Math.min(...boxes.map((box) => box.top)),
      right: Math.max(...boxes.map((box) => box.right)), bottom: Math.max(...boxes.map((box) => box.bottom)) };
  });
  const inside = (box) => box.left >= 0 && box.top >= 0 && box.right <= width && box.bottom <= height;
  const beside = width >= height;
  expect(inside(canvas) && inside(pad), `picture ${JSON.stringify(canvas)} or pad ` +
    `${JSON.stringify(pad)} not wholly inside ${width} x ${height}`);
  expect(canvas.width * 3 === canvas.height * 4 && canvas.backing[0] === Math.round(canvas.width * ratio),
    `the picture is ${canvas.width} x ${canvas.height} held in ${canvas.backing.join(" x ")} at ${ratio}`);
  expect(pad.names === PAD_NAMES && pad.smallest >= 44, `pad keys ${pad.names}, ${pad.smallest} px`);
  expect(beside ? pad.left >= canvas.right : pad.top >= canvas.bottom,
    `the pad is not ${beside ? "beside" : "below"} the picture`);
  return `picture scale ${(canvas.width / 800).toFixed(3)}, pad ${beside ? "beside" : "below"} ` +
    `(keys ${pad.smallest} px)`;
}

// One tap on Create Question; the numbers as a soft keyboard inserts them; OK tapped.
async function createQuestionByTouch(lesson, dividend, divisor) {
  await lesson.tapButton("Create Question");
  const selector = await lesson.waitForDialog("create-question");
  const dialog = await lesson.page.$eval(selector, (box) => {
    const { left, top, right, bottom } = box.getBoundingClientRect();
    return { left, top, right, bottom, button: box.querySelector(".push-button").getBoundingClientRect().height };
  });
  await lesson.lookAtPage("create-question");
  await lesson.page.keyboard.sendCharacter(String(dividend));
  await lesson.tapControl("create-question", 1016);
  await lesson.page.keyboard.sendCharacter(String(divisor));
  await lesson.tapControl("create-question", OK);
  await lesson.waitUntilClosed("create-question");
  return dialog;
}

async function touchRun(suite, viewport) {
  const page = await britishPage(suite.chromium.browser);
  page.on("pageerror", (error) => console.log(`  page error: ${error.message}`));
  const keyEvents = [];
  await page.exposeFunction("noteKeyEvent", (type) => keyEvents.push(type));
  await page.evaluateOnNewDocument(() => ["keydown", "keyup", "keypress"].forEach((type) =>
    window.addEventListener(type, () => window.noteKeyEvent(type), true)));
  const lesson = new Lesson(page, suite.checker, path.join(suite.scenarioShots, viewport.name));
  await page.setViewport({ width: 800, height: 600 });
  await page.goto(suite.server.url, { waitUntil: "domcontentloaded" });
  await page.evaluate(() => localStorage.clear());
  await setScreen(lesson, viewport);
  await page.reload({ waitUntil: "domcontentloaded" });
  await waitUntil(() => page.evaluate(() => window.bricketingPage?.firstFrameAt ?? null),
    10000, "the program's first frame");
  await lesson.lookAtPage("start");
  const fit = await checkFit(lesson, viewport);
  await setScreen(lesson, viewport, true);
  lesson.pictureShots = true;
  await waitForQuestion(lesson, "start-picture");

  const dialog = await createQuestionByTouch(lesson, 100, 7);
  expect(dialog.left >= 0 && dialog.top >= 0 && dialog.right <= viewport.width &&
    dialog.bottom <= viewport.height, `the dialog is off the screen: ${JSON.stringify(dialog)}`);
  // A finger's 44 px, unless the dialog already fills the screen's width.
  expect(dialog.button >= 43.5 || dialog.right - dialog.left >= viewport.width - 17,
    `the dialog's buttons are ${dialog.button} px high on a touch screen`);
  await lesson.waitForLook("question-100-by-7", [["shows_header", "100 ÷ 7"], ["caption_pixels"]],
    (header, caption) => header && caption === 0,
    'the header "100 ÷ 7" and no caption left behind by the lifted finger');
  // The direction key flips the row: 0 then 1 typed right to left make 10.
  const { shot } = await work100By7(lesson, (...keys) => lesson.tapPad(...keys),
    ["direction", "0", "1", "Enter"]);
  await lesson.lookAtPage("worked");
  expect((await lesson.ask(shot, [["shows_remainder_part", " rem.2"]]))[0], "no \" rem.2\"");
  await checkHelp(lesson, () => lesson.tapButton("Help"), () => lesson.page.$("[data-help-close]")
    .then((close) => close.tap()));

  if (viewport.turn) {
    const turned = { ...viewport, width: viewport.height, height: viewport.width };
    await setScreen(lesson, turned);
    await lesson.lookAtPage("turned");
    console.log(`  turned to ${turned.width} x ${turned.height}: ${await checkFit(lesson, turned)}`);
    await setScreen(lesson, turned, true);
    await lesson.waitForLook("turned-kept", [["shows_quotient", "= 14"]], (kept) => kept,
      "the answer kept over the turn");
  }
  if (viewport.drag) {
    // Eight steps of 1 make the working-out taller than its panel; it glides to its
    // end, and a finger dragged down it brings the dividend back into view.
    await createQuestionByTouch(lesson, 100, 7);
    for (let remaining = 93; remaining >= 44; remaining -= 7) {
      await lesson.tapPad("1", "Enter", ...String(remaining), "Enter");
    }
    const dividendOnTop = [["shows_on_line", 0, "AMOUNTS_COLUMN", "100", "SPENT_COLOUR"]];
    await lesson.waitForLook("long-working-out", dividendOnTop, (onTop) => !onTop, "the end in view");
    const box = await lesson.canvasBox();
    const at = (y) => [box.left + (300 * box.width) / 800, box.top + (y * box.height) / 600];
    await page.touchscreen.touchStart(...at(150));
    for (let y = 170; y <= 550; y += 20) {
      await page.touchscreen.touchMove(...at(y));
      await sleep(20);
    }
    await page.touchscreen.touchEnd();
    await lesson.waitForLook("dragged-down", dividendOnTop, (onTop) => onTop,
      "the dividend back in view after a finger's drag down");
  }
  if (viewport.boardKeys) {
    // A soft keyboard that shrinks the window leaves the picture as it was; the dialog
    // moves into what is left.
    const before = await lesson.canvasBox();
    await lesson.tapButton("Create Question");
    await lesson.waitForDialog("create-question");
    await page.setViewport({ ...page.viewport(), height: 330 });
    await page.evaluate(() => window.dispatchEvent(new Event("resize")));
    await waitUntil(() => page.$eval('dialog[data-dialog="create-question"]', (box) =>
      box.getBoundingClientRect().bottom <= 330), 5000, "the dialog above the soft keyboard");
    await lesson.lookAtPage("soft-keyboard");
    expect(same((await lesson.canvasBox()).backing, before.backing) && (await lesson.canvasBox()).width === before.width,
      "the picture shrank when the soft keyboard opened");
    await page.setViewport({ ...page.viewport(), height: viewport.height });
    await lesson.tapControl("create-question", 2); // Cancel
    await lesson.waitUntilClosed("create-question");
    // The pad's Delete takes the last step back and its Repeat repeats a step, each
    // pressing where the board's own icon is.
    await createQuestionByTouch(lesson, 100, 7);
    for (let remaining = 93; remaining >= 44; remaining -= 7) {
      await lesson.tapPad("1", "Enter", ...String(remaining), "Enter");
    }
    const steps = () => page.$$eval("#board-description p", (lines) => lines.length);
    const stepsBefore = await steps();
    await lesson.tapPad("Delete");
    await waitUntil(async () => (await steps()) === stepsBefore - 1, 5000, "Delete to take a step back");
    const line = () => page.$eval("#board-line", (p) => p.textContent);
    await lesson.tapPad("Insert");
    await waitUntil(async () => /^What is \d+ take away 7\?/.test(await line()), 5000,
      async () => `Repeat to repeat a step of 1 (the line reads "${await line()}")`);
    await lesson.lookAtPage("board-keys");
  }
  if (viewport.toggle) {
    // Hidden, the pad leaves its room to the picture; the choice outlives a reload and
    // is not written into the settings file.
    const before = await lesson.canvasBox();
    const settingsBefore = await stored(page);
    const padHidden = () => page.$eval(".number-pad", (pad) => pad.hidden);
    await (await page.$(".pad-toggle")).tap();
    await waitUntil(async () => (await padHidden()) &&
      (await lesson.canvasBox()).width > before.width, 5000, "the pad to give its room");
    await lesson.lookAtPage("pad-hidden");
    expect((await page.evaluate(() => localStorage.getItem("bricketing.numberPad"))) === "hidden" &&
      (await stored(page)) === settingsBefore, "the pad's choice is not kept apart from the settings");
    await page.reload({ waitUntil: "domcontentloaded" });
    await waitUntil(() => page.evaluate(() => window.bricketingPage?.firstFrameAt ?? null),
      10000, "the first frame after the reload");
    expect(await padHidden(), "the pad came back after a reload although it was hidden");
  }
  expect(keyEvents.length === 0, `the touch run sent key events: ${keyEvents.join()}`);
  console.log(`  ${viewport.name} ${viewport.width} x ${viewport.height}: ${fit}, dialog ` +
    `buttons ${dialog.button.toFixed(0)} px high`);
  await page.close();
}

// Every file of the page together, font, pictures and catalogues included, stays within 1.6 MB
// before compression; prints the sizes by kind.
async function sizeBudget(suite) {
  // The source archive (source/) is served for those who ask for it; the page never
  // loads it, so it is no part of the page's size. The pictures at twice their size
  // (Resources/2x/) are fetched only by a sharper screen.
  const files = readdirSync(suite.site, { recursive: true, withFileTypes: true })
    .filter((entry) => entry.isFile())
    .map((entry) => path.join(entry.parentPath ?? entry.path, entry.name))
    .filter((file) => !path.relative(suite.site, file).startsWith("source" + path.sep))
    .filter((file) => !path.relative(suite.site, file).startsWith(path.join("Resources", "2x")));
  const groups = new Map();
  let total = 0;
  for (const file of files) {
    const size = statSync(file).size;
    const relative = path.relative(suite.site, file);
    const group = relative.includes(path.sep) ? relative.split(path.sep)[0] + "/" : relative;
    groups.set(group, (groups.get(group) ?? 0) + size);
    total += size;
  }
  for (const [group, size] of [...groups].sort((a, b) => b[1] - a[1])) {
    console.log(`  ${String(size).padStart(9)} bytes  ${group}`);
  }
  console.log(`  ${String(total).padStart(9)} bytes  in all (${files.length} files)`);
  expect(total <= SIZE_BUDGET, `the page's files take ${total} bytes, over ${SIZE_BUDGET}`);
}

const PLAIN_SETTINGS_TEXT = [
  'DISPLAY:LOTSOF // LOTSOF for "lots of" or TIMES for "x"; changes display in working out',
  "AUTOPRODUCT:OFF // ON or OFF; if on, calculates products for each multiple automatically",
  "AUTOREMAINDER:OFF // ON or OFF; if on, calculates the remainder each time automatically",
  "DIFFICULTY:BEGINNER // BEGINNER, NOVICE, INTERMEDIATE, ADVANCED, EXPERT",
].join("\n");

// A browser whose storage refuses writes: the confirmed settings apply for the visit,
// storage keeps what it had, and the end view says the settings could not be kept.
async function refusedStorage(suite) {
  const lesson = await suite.open({ settings: PLAIN_SETTINGS_TEXT });
  await waitForQuestion(lesson);
  await lesson.page.evaluate(() => {
    Storage.prototype.setItem = () => {
      throw new DOMException("The quota has been exceeded.", "QuotaExceededError");
    };
  });
  await lesson.openDialog("Settings", "settings");
  await lesson.clickControl("settings", TIMES);
  await lesson.keys("Enter");
  await lesson.waitUntilClosed("settings");
  expect((await stored(lesson.page)) === PLAIN_SETTINGS_TEXT, "storage lost what it held");
  await lesson.keys("Escape");
  await lesson.messageBox();
  await lesson.keys("Enter");
  await lesson.page.waitForSelector("#finished:not([hidden])", { timeout: 10000 });
  await lesson.look("finished-unkept");
  const note = await lesson.page.$eval("#finished-note", (line) => line.textContent);
  expect(note.includes("could not be kept") && !note.includes("are kept for next time"),
    `the end view says "${note}" although the settings were not kept`);
  await lesson.page.close();
}

// The commands' own controls in their Tab order, the six commands and then the logo
// (About, 200 x 80 at (500, 490)), with where each lies on the picture.
const CONTROLS = [
  ...Object.entries(BUTTONS).map(([name, [x, y]]) => ({ name, box: [x, y, BUTTON_SIZE, BUTTON_SIZE] })),
  { name: "About", box: [500, 490, 200, 80] },
];

// A point of each control's focus ring that lies on white: above the first row, below
// the second, left of the logo.
function ringPoint([x, y, width, height]) {
  const middle = x + Math.floor(width / 2);
  if (width > BUTTON_SIZE) {
    return [x - 3, y + height / 2];
  }
  return y < 300 ? [middle, y - 3] : [middle, y + height + 2];
}

// The focused element, and where the controls lie, in picture pixels at the fit's scale.
async function focusAndControls(page) {
  return page.evaluate(() => {
    const canvas = document.getElementById("board").getBoundingClientRect();
    const scale = canvas.width / 800;
    const boxes = [...document.querySelectorAll(".bricketing-command")].map((button) => {
      const box = button.getBoundingClientRect();
      return [box.left - canvas.left, box.top - canvas.top, box.width, box.height]
        .map((v) => Math.round(v / scale));
    });
    return { id: document.activeElement.id, text: document.activeElement.textContent, scale, boxes };
  });
}

const overPictures = ({ boxes }) => CONTROLS.every(({ box }, i) => same(boxes[i], box));

// From the canvas, Tab to a command's control and Enter on it.
async function activate(lesson, name, caption = name) {
  await lesson.page.focus("#board");
  const steps = CONTROLS.findIndex((control) => control.name === name) + 1;
  await lesson.keys(...Array(steps).fill("Tab"));
  const on = await focusAndControls(lesson.page);
  expect(on.text === caption, `Tab ${steps} times from the canvas reached "${on.text}", not "${caption}"`);
  await lesson.keys("Enter");
}

// The canvas as a reader has it: its name, its description (the line being typed) and
// the working-out above that line, awaited until accepted.
async function waitForBoardText(lesson, accept, what) {
  let seen = null;
  await waitUntil(async () => {
    const view = await lesson.readerView();
    const board = view.find("application", /./);  // named: the page is one too
    seen = { name: board?.name?.value ?? "", description: board?.description?.value ?? "",
      workingOut: view.textUnder(view.find("region", "Working-out")) };
    return accept(seen);
  }, 10000, () => `${what}; the board reads ${JSON.stringify(seen)}`);
  return seen;
}

async function announced(lesson) {
  const view = await lesson.readerView();
  return view.textUnder(view.find("status"));
}

// The page from the keyboard alone and as a screen reader has it: Tab goes from the
// canvas through the six commands in order and About, each named by its caption, over
// its picture and ringed while focused; Enter on one does what a click on its picture
// does; the canvas is named by the question and described by the working-out, and a
// wrong entry is announced; a key the browser keeps does not reach the program; axe-core
// finds nothing critical or serious on the page, in each dialog and on the end page.
async function keyboardAndReader(suite) {
  const lesson = await suite.open({ settings: null });
  const { shot: start } = await waitForQuestion(lesson);
  await lesson.expectNoGraveAxeFindings("on the page");
  const white = await lesson.ask(start, CONTROLS.map(({ box }) => ["pixel", ...ringPoint(box)]));
  expect(white.every((rgb) => same(rgb, [255, 255, 255])),
    `the page is not white where the focus rings go: ${JSON.stringify(white)}`);

  expect((await focusAndControls(lesson.page)).id === "board", "the canvas does not have the focus at first");
  const view = await lesson.readerView();
  for (const { name, box } of CONTROLS) {
    await lesson.keys("Tab");
    const on = await focusAndControls(lesson.page);
    expect(on.text === name && view.find("button", name), `Tab reached "${on.text}" where "${name}" was due`);
    const shot = await lesson.look("focus-" + name.toLowerCase().replace(/ /g, "-"));
    const [ring] = await lesson.ask(shot, [["pixel", ...ringPoint(box)]]);
    expect(same(ring, [0x1e, 0x1e, 0x1e]), `no focus ring round "${name}": ${ring}`);
  }
  // The controls lie over their pictures, also when the page fits it to a smaller window.
  expect(overPictures(await focusAndControls(lesson.page)), "the controls do not lie over their pictures");
  const viewport = lesson.page.viewport();
  await lesson.page.setViewport({ width: 560, height: 520 });
  await waitUntil(async () => {
    const smaller = await focusAndControls(lesson.page);
    return smaller.scale < 0.8 && overPictures(smaller);
  }, 5000, "the controls to lie over their pictures at a smaller scale");
  // Browser zoom at 200 % and 400 % (the window in CSS pixels halved or quartered, the
  // pixel ratio up as much): the picture keeps its 800 CSS pixels, so it is seen twice
  // and four times as large, and the page scrolls round it.
  for (const zoom of [2, 4]) {
    await lesson.page.setViewport({ width: 1280 / zoom, height: 800 / zoom, deviceScaleFactor: zoom });
    await lesson.page.evaluate(() => window.dispatchEvent(new Event("resize")));
    const zoomed = await waitUntil(async () => {
      const box = await lesson.canvasBox();
      return box.width === 800 && box.backing[0] === 800 * zoom ? box : null;
    }, 5000, `the picture 800 CSS pixels wide at ${zoom * 100} %`);
    expect(await lesson.page.evaluate(() => document.documentElement.scrollHeight > window.innerHeight),
      `the page does not scroll round the picture at ${zoom * 100} %`);
    expect(overPictures(await focusAndControls(lesson.page)), `the controls are off their pictures at ${zoom * 100} %`);
    await lesson.lookAtPage(`zoom-${zoom * 100}`);
    console.log(`  at ${zoom * 100} %: the picture ${zoomed.width} CSS pixels wide in ${zoomed.backing.join(" x ")}`);
  }
  await lesson.page.setViewport(viewport);
  await lesson.page.evaluate(() => window.dispatchEvent(new Event("resize")));
  await waitUntil(async () => (await lesson.canvasBox()).backing[0] === 800, 5000, "the picture back at 100 %");

  // Create Question by its control: a named dialog with labelled fields, the focus in
  // the first as it opens (never left on the board made inert behind it).
  await activate(lesson, "Create Question");
  const landed = await lesson.page.waitForFunction(() => {
    const open = document.querySelector('dialog[data-dialog="create-question"][open]');
    return open && document.activeElement.getAttribute("aria-label");
  }, { polling: "mutation", timeout: 10000 });
  expect((await landed.jsonValue()) === "Dividend", "Create Question opened without the focus on Dividend");
  // In the reader's tree a moment after the page behind has left it (WebDialogs.js),
  // which the board's commands, and a press on the board, no longer reach.
  let dialog = null;
  await waitUntil(async () => {
    dialog = await lesson.readerView();
    return dialog.find("dialog", "Create Question") && !dialog.find("button", "New Question");
  }, 10000, "Create Question in the reader's tree, the board's commands out of it");
  expect(dialog.find("textbox", "Dividend") && dialog.find("textbox", "Divisor"),
    "Create Question's two fields are not named");
  expect(await lesson.page.evaluate(() => {
    const board = document.getElementById("board").getBoundingClientRect();
    return document.elementFromPoint(board.left + 4, board.top + 4)?.id !== "board";
  }), "a press on the board behind Create Question reaches it");
  await lesson.expectNoGraveAxeFindings("in Create Question");
  await lesson.enterNumber(100);
  await lesson.enterNumber(7);
  await lesson.waitUntilClosed("create-question");
  await lesson.waitForLook("question-100-by-7", [["shows_header", "100 ÷ 7"]],
    (shown) => shown, 'the header "100 ÷ 7"');
  await waitForBoardText(lesson, (b) => b.name === "100 ÷ 7" && b.workingOut.includes("Start with 100.") &&
    b.description === "How many lots of 7 to take from 100? Nothing typed yet.", "the board read as 100 ÷ 7");
  // Said once the focus is back on the board, not dropped as it moves there.
  await waitUntil(async () => /New question: 100 ÷ 7/.test(await announced(lesson)), 10000,
    async () => `"New question" to be announced (the live region says "${await announced(lesson)}")`);

  // A wrong product is announced and read as wrong; a completed step is read in words.
  await lesson.keys("1", "0", "Enter", "7", "1", "Enter");
  await waitUntil(async () => /Wrong/.test(await announced(lesson)) && /71/.test(await announced(lesson)),
    10000, async () => `the wrong product 71 to be announced (the live region says "${await announced(lesson)}")`);
  await waitForBoardText(lesson, (b) => /Wrong.*71/.test(b.description), "the board to read the entry as wrong");
  await lesson.keys("2", "7", "0", "Enter", "3", "0", "Enter");
  await waitForBoardText(lesson, (b) => b.workingOut.includes("10 lots of 7 is 70; 30 left") &&
    !b.workingOut.includes("What is"), "the completed step in words, above the line being typed");

  // New Question by its control: a fresh working-out, read and shown alike, the pointer
  // the mouse's again (no caption stays) and the focus back on the canvas to type.
  await activate(lesson, "New Question");
  const fresh = await waitForBoardText(lesson, (b) => !b.workingOut.includes("lots of 7 is 70"),
    "a new question");
  await lesson.waitForLook("new-question", [["shows_header", fresh.name], ["caption_pixels"]],
    (shown, caption) => shown && caption === 0, `the header "${fresh.name}" and no caption`);
  expect((await focusAndControls(lesson.page)).id === "board", "the focus stays off the canvas");
  // F3 stays the browser's (find).
  await lesson.keys("F3");
  await sleep(400);
  expect(!(await lesson.dialogShown("create-question")), "F3, the browser's, opened Create Question");

  // Settings from the keyboard: Tab reaches every control, each radio group once at its
  // chosen button, and the arrows choose within a group.
  await activate(lesson, "Settings");
  await lesson.waitForDialog("settings");
  const reached = [];
  for (let stop = 0; stop < 16; stop += 1) {
    reached.push(await lesson.page.evaluate(() => document.activeElement.dataset.controlId));
    await lesson.keys("Tab");
  }
  const settingsControls = await lesson.page.$$eval('dialog[data-dialog="settings"] [data-control-id]',
    (all) => [...new Set(all.filter((c) => c.tagName !== "FIELDSET" && c.tabIndex >= 0 &&
      !c.classList.contains("static-text")).map((c) => c.type === "radio" ? c.name : c.dataset.controlId))]);
  const reachedNames = await lesson.page.$$eval('dialog[data-dialog="settings"] [data-control-id]', (all, ids) =>
    [...new Set(ids.map((id) => all.find((c) => c.dataset.controlId === id)).map((c) => c.type === "radio" ? c.name : c.dataset.controlId))], reached);
  expect(settingsControls.every((c) => reachedNames.includes(c)),
    `Tab in Settings reached ${reachedNames.join()}, not all of ${settingsControls.join()}`);
  await lesson.page.focus(`dialog[data-dialog="settings"] [data-control-id="${EXPERT}"]`);
  const beginner = await lesson.page.$eval(`dialog[data-dialog="settings"] [data-control-id="${EXPERT}"]`,
    (expert) => expert.closest("dialog").querySelector(`input[name="${expert.name}"]`).dataset.controlId);
  await lesson.keys("ArrowDown");
  const wrapped = await lesson.controlState("settings", Number(beginner));
  expect(wrapped.checked && wrapped.focused, "ArrowDown from Expert did not choose Beginner");
  await lesson.keys("Escape");
  await lesson.waitUntilClosed("settings");

  for (const [name, kind, check] of [
    ["Settings", "settings", (v) => v.find("dialog", "Settings")],
    ["About", "about", (v) => v.find("dialog", "About") && v.find("image", /Bricketing/)],
  ]) {
    await activate(lesson, name);
    await lesson.waitForDialog(kind);
    expect(check(await lesson.readerView()), `the ${name} dialog is not named, or its picture has no words`);
    await lesson.expectNoGraveAxeFindings(`in ${name}`);
    await lesson.keys(kind === "about" ? "Enter" : "Escape");
    await lesson.waitUntilClosed(kind);
  }

  // The help panel is modal: Tab and Shift+Tab go round inside it, what is behind it is
  // inert, Escape closes it from inside the help page, the focus goes back to Help.
  const whereFocus = () => lesson.page.evaluate(() => {
    const active = document.activeElement;
    return { inPanel: Boolean(active?.closest(".help-panel")), text: active?.textContent ?? "",
      inFrame: active?.tagName === "IFRAME", behindInert: document.querySelector(".number-pad").closest("[inert]") !== null &&
        document.querySelector(".bricketing-commands").closest("[inert]") !== null };
  });
  await checkHelp(lesson, async () => {
    await activate(lesson, "Help");
    await lesson.waitForHelp();
    expect((await lesson.readerView()).find("dialog", "Help"), "the help panel is not a dialog named Help");
    await lesson.expectNoGraveAxeFindings("in the help panel");
    for (const key of [...Array(8).fill("Tab"), ...Array(4).fill("Shift+Tab")]) {
      if (key === "Shift+Tab") {
        await lesson.page.keyboard.down("Shift");
        await lesson.keys("Tab");
        await lesson.page.keyboard.up("Shift");
      } else {
        await lesson.keys("Tab");
      }
      const focus = await whereFocus();
      expect(focus.inPanel && focus.behindInert, `${key} took the focus out of the help panel: ${JSON.stringify(focus)}`);
    }
    await waitUntil(async () => (await whereFocus()).inFrame || (await lesson.keys("Tab"), false), 5000,
      "the focus inside the help page");
  }, () => lesson.keys("Escape"));
  const back = await whereFocus();
  expect(back.text === "Help" && !back.behindInert, `the focus went to "${back.text}", not back to Help, or the page stayed inert`);

  // Escape with the focus on a control is the program's; the exit prompt is read out.
  await lesson.page.focus("#board");
  await lesson.keys("Tab", "Escape");
  await lesson.messageBox();
  expect(await lesson.page.evaluate(() => document.activeElement.textContent === "Yes"),
    "the exit prompt opened without the focus on Yes");
  const box = (await lesson.readerView()).find("alertdialog", "Had enough?");
  expect(box?.description?.value === "Finished bricketing for today?",
    "the exit prompt is not an alert dialog named by its caption and described by its question");
  await lesson.expectNoGraveAxeFindings("in the exit prompt");
  await lesson.keys("Enter");
  await lesson.page.waitForSelector("#finished:not([hidden])", { timeout: 10000 });
  const end = await lesson.readerView();
  expect(end.find("main") && end.find("heading", "Finished for today") &&
    /^Finished for today Well done/.test(end.find("button", "Start again")?.description?.value ?? ""),
    "the end page has no main landmark or no heading, or its button does not read them");
  await lesson.look("finished");
  await lesson.expectNoGraveAxeFindings("on the end page");
  await lesson.page.close();
}

// The practice record in the browser: 100 ÷ 7 worked with one wrong product, after the
// record was deleted through the report's Delete, leaves in IndexedDB the bytes the
// desktop writer gives for the same practice (tests/record/, with the tests' clock);
// Download gives the same bytes; the report in its panel names the pupil; a reload
// reads the record back.
const RECORD_FILES = ["questions.csv", "entries.csv"];
const recordExample = (name) =>
  readFileSync(path.join(repositoryRoot, "tests", "record", `100-by-7-${name}`), "utf8");

async function storedRecord(page) {
  return page.evaluate(() => new Promise((resolve, reject) => {
    const opening = indexedDB.open("bricketing-record");
    opening.onerror = () => reject(opening.error);
    opening.onsuccess = () => {
      const all = opening.result.transaction("rows").objectStore("rows").getAll();
      all.onsuccess = () => {
        const files = {};
        for (const row of all.result) files[row.file] = (files[row.file] || "") + row.bytes;
        opening.result.close();
        resolve(files);
      };
    };
  }));
}

async function reportText(lesson) {
  await lesson.page.click("#practice-record");
  return waitUntil(() => lesson.page.evaluate(() => {
    const frame = document.querySelector(".record-panel iframe");
    const text = frame?.contentDocument?.body?.innerText ?? "";
    return frame?.contentDocument?.querySelector("canvas") || text.includes("No questions")
      ? text : null;
  }), 20000, "the report in its panel");
}

async function practiceRecord(suite) {
  const lesson = await suite.open({ settings: null,
    query: "?record-clock=" + encodeURIComponent("2026-01-05T09:00:00+01:00") });
  const page = lesson.page;
  await waitForQuestion(lesson);
  await createQuestion(lesson, 100, 7);

  page.once("dialog", (dialog) => dialog.accept());
  await reportText(lesson);
  await page.click(".record-panel [data-record-delete]");
  await waitUntil(() => page.evaluate(() =>
    window.bricketingPage.module.web.recordRead("this device/questions.csv") === null),
  10000, "the record to be deleted");
  // The rows leave the database in the order they were asked for.
  await page.evaluate(() => window.bricketingPage.module.web.recordWritten());
  const emptied = await storedRecord(page);
  expect(!Object.keys(emptied).some((file) => file.startsWith("this device/")),
    `the deleted record is still stored: ${Object.keys(emptied)}`);
  await page.click(".record-panel [data-record-close]");
  await work100By7(lesson);

  await page.evaluate(() => window.bricketingPage.module.web.recordWritten());
  const stored = await storedRecord(page);
  for (const name of RECORD_FILES) {
    expect(stored[`this device/${name}`] === recordExample(name),
      `IndexedDB's ${name} differs from the desktop writer's:\n` +
      JSON.stringify(stored[`this device/${name}`]));
  }

  const text = await reportText(lesson);
  await lesson.lookAtPage("report");
  for (const shown of ["Practice record", "this device", "Questions per day", "Not quite",
    "4 lots of 7 typed as 27", "Answered: 14 r 2"]) {
    expect(text.includes(shown), `the report does not show "${shown}"`);
  }

  const downloads = mkdtempSync(path.join(tmpdir(), "bricketing-downloads-"));
  try {
    const session = await page.target().createCDPSession();
    await session.send("Browser.setDownloadBehavior", { behavior: "allow", downloadPath: downloads });
    await page.click(".record-panel [data-record-download]");
    for (const name of RECORD_FILES) {
      const file = path.join(downloads, name);
      await waitUntil(() => {
        try {
          return readFileSync(file).equals(Buffer.from(recordExample(name), "utf8"));
        } catch (error) {
          return false;
        }
      }, 20000, `the downloaded ${name} to hold the desktop writer's bytes`);
    }
    expect(readdirSync(downloads).sort().join() === "entries.csv,questions.csv",
      `the download gave ${readdirSync(downloads)}`);
  } finally {
    rmSync(downloads, { recursive: true, force: true });
  }

  await page.reload({ waitUntil: "domcontentloaded" });
  await waitForQuestion(lesson, "reloaded");
  const kept = await page.evaluate(() =>
    window.bricketingPage.module.web.recordRead("this device/entries.csv"));
  expect(kept === recordExample("entries.csv"), "the record did not come back after a reload");
  await page.close();
}

// A class sharing the browser. The teacher view on the end page keeps a list of three
// names (one outside ASCII, with a note and a blank line) in local storage: Escape leaves
// it unsaved, Save keeps it, and the end page's way on becomes "Next pupil". The next
// start asks who is practising: the names as large buttons in their order, the first
// focused; Tab then Enter picks Zoë, whose own settings ("x", sound on) are read rather
// than the shared ones; she works a question, her Settings' OK stores under her key
// alone, and with sound on her work played cues through Web Audio. The next pupil, Kai,
// picked with the mouse, starts from the shared settings.
const CLASS_KEY = "bricketing.class";
const CLASS_TEXT = "# Class 4B\nAmir\nZoë\n\nKai";
const ZOE_KEY = `${SETTINGS_KEY}.Zoë`;
const FIRST_PUPIL = 2001;

async function classList(suite) {
  const lesson = await suite.open({ settings: PLAIN_SETTINGS_TEXT });
  const { page } = lesson;
  const zoeSettings = PLAIN_SETTINGS_TEXT.replace("DISPLAY:LOTSOF", "DISPLAY:TIMES") + "\nSOUND:ON";
  await page.evaluate((classKey, zoeKey, text) => {
    localStorage.removeItem(classKey);
    localStorage.setItem(zoeKey, text);
  }, CLASS_KEY, ZOE_KEY, zoeSettings);
  try {
    await waitForQuestion(lesson);
    await lesson.keys("Escape");
    await lesson.messageBox();
    await lesson.keys("Enter");
    await page.waitForSelector("#finished:not([hidden])", { timeout: 10000 });
    const wayOn = () => page.$eval("#start-again", (button) => button.textContent);
    expect((await wayOn()) === "Start again", `without a class list the end page offers "${await wayOn()}"`);

    const openTeacherView = async () => {
      await page.click("#class-list-open");
      await page.waitForSelector("dialog#class-list[open]", { timeout: 5000 });
    };
    const focusedId = () => page.evaluate(() => document.activeElement?.id);
    await openTeacherView();
    const view = await lesson.readerView();
    expect(view.find("dialog", "Class list") && view.find("textbox", "Pupils' names, one a line") &&
      (await focusedId()) === "class-list-names",
    "the teacher view is not a dialog named Class list with its labelled, focused names");
    await lesson.expectNoGraveAxeFindings("in the teacher view");
    await lesson.keys("Tab", "Tab", "Tab");
    expect((await focusedId()) === "class-list-names", "Tab leaves the teacher view");
    await page.keyboard.type("Nobody");
    await lesson.keys("Escape");
    await page.waitForSelector("dialog#class-list[open]", { hidden: true, timeout: 5000 });
    expect((await page.evaluate((key) => localStorage.getItem(key), CLASS_KEY)) === null &&
      (await focusedId()) === "class-list-open",
    "Escape saved the class list, or did not give the focus back to its button");

    await openTeacherView();
    await page.$eval("#class-list-names", (names) => { names.value = ""; });
    await page.keyboard.type(CLASS_TEXT);
    await lesson.lookAtPage("teacher-view");
    await page.click("#class-list-save");
    await page.waitForSelector("dialog#class-list[open]", { hidden: true, timeout: 5000 });
    const saved = await page.evaluate((key) => localStorage.getItem(key), CLASS_KEY);
    const status = await page.$eval("#class-list-status", (line) => line.textContent);
    expect(saved === CLASS_TEXT, `the class list is stored as ${JSON.stringify(saved)}`);
    expect(status === "Class list saved: 3 names." && (await wayOn()) === "Next pupil",
      `after Save the end page says "${status}" and offers "${await wayOn()}"`);

    // The next pupil: Tab to Zoë, Enter.
    await Promise.all([page.waitForNavigation({ waitUntil: "domcontentloaded", timeout: 10000 }),
      page.click("#start-again")]);
    const picker = await lesson.waitForDialog("pupil-picker");
    const shown = await page.$eval(picker, (dialog) => ({
      caption: dialog.querySelector(".caption").textContent,
      names: [...dialog.querySelectorAll("button[data-control-id]")].map((b) => b.textContent),
      heights: [...dialog.querySelectorAll("button[data-control-id]")]
        .map((b) => b.getBoundingClientRect().height),
    }));
    await lesson.lookAtPage("picker");
    expect(shown.caption === "Who is practising?" && shown.names.join() === "Amir,Zoë,Kai",
      `the picker "${shown.caption}" offers ${shown.names.join()}`);
    expect(shown.heights.every((height) => height >= 44), `the names' buttons are ${shown.heights} px high`);
    expect((await lesson.controlState("pupil-picker", FIRST_PUPIL)).focused, "the first name is not focused");
    const pickerView = await lesson.readerView();
    expect(pickerView.find("dialog", "Who is practising?") && pickerView.find("button", "Zoë"),
      "the picker is not a dialog of name buttons to a reader");
    await lesson.expectNoGraveAxeFindings("in the picker");
    await lesson.keys("Escape");
    await sleep(300);
    expect(await lesson.dialogShown("pupil-picker"), "Escape closed the picker without a name");
    await lesson.keys("Tab", "Enter");
    await lesson.waitUntilClosed("pupil-picker");
    const pupil = await page.evaluate(() => window.bricketingPage.module.web.pupil);
    expect(pupil === "Zoë", `Tab and Enter picked "${pupil}", not Zoë`);

    await waitForQuestion(lesson, "zoe");
    await lesson.openDialog("Settings", "settings");
    expect((await lesson.controlState("settings", TIMES)).checked,
      "Zoë's settings are not the ones read: the working-out is not in \"x\"");
    await lesson.keys("Escape");
    await lesson.waitUntilClosed("settings");
    await createQuestion(lesson, 100, 7);
    await work100By7(lesson);
    await lesson.openDialog("Settings", "settings");
    await lesson.clickControl("settings", EXPERT);
    await lesson.keys("Enter");
    await lesson.waitUntilClosed("settings");
    const keys = () => page.evaluate(() => Object.fromEntries(Object.keys(localStorage)
      .filter((key) => key.startsWith("bricketing.settings")).map((key) => [key, localStorage.getItem(key)])));
    const stored = await waitUntil(async () => {
      const all = await keys();
      return all[ZOE_KEY]?.includes("DIFFICULTY:EXPERT") ? all : null;
    }, 5000, "Zoë's settings with Expert in her own key");
    expect(Object.keys(stored).sort().join() === [SETTINGS_KEY, ZOE_KEY].sort().join() &&
      stored[SETTINGS_KEY] === PLAIN_SETTINGS_TEXT && stored[ZOE_KEY].includes("DISPLAY:TIMES"),
    `the settings keys after Zoë's OK: ${JSON.stringify(stored)}`);
    // The sound setting is written back once the program knows it; then her work (two
    // lines right, a wrong entry, the answer) must have played cues.
    const cues = await page.evaluate(() => window.bricketingPage.module.web.cuesPlayed ?? 0);
    if (/^SOUND:/m.test(stored[ZOE_KEY])) {
      expect(/^SOUND:ON/m.test(stored[ZOE_KEY]) && cues >= 3,
        `sound on, yet ${cues} cues played (settings ${JSON.stringify(stored[ZOE_KEY])})`);
    } else {
      console.log(`  this build writes no SOUND line: the cue count (${cues}) is not checked`);
    }

    await lesson.keys("Escape");
    await lesson.messageBox();
    await lesson.keys("Enter");
    await page.waitForSelector("#finished:not([hidden])", { timeout: 10000 });
    const note = await page.$eval("#finished-note", (line) => line.textContent);
    expect((await wayOn()) === "Next pupil" && note.includes("Zoë"),
      `after Zoë the end page offers "${await wayOn()}" and says "${note}"`);

    // Kai, by the mouse, starts from the shared settings.
    await Promise.all([page.waitForNavigation({ waitUntil: "domcontentloaded", timeout: 10000 }),
      page.click("#start-again")]);
    await lesson.waitForDialog("pupil-picker");
    await lesson.clickControl("pupil-picker", FIRST_PUPIL + 2);
    await lesson.waitUntilClosed("pupil-picker");
    await waitForQuestion(lesson, "kai");
    await lesson.openDialog("Settings", "settings");
    expect((await page.evaluate(() => window.bricketingPage.module.web.pupil)) === "Kai" &&
      (await lesson.controlState("settings", LOTS_OF)).checked,
    "a click on Kai did not pick him, or he did not start from the shared settings");
    await lesson.keys("Escape");
    await lesson.waitUntilClosed("settings");
  } finally {
    await page.evaluate((classKey, zoeKey) => {
      localStorage.removeItem(classKey);
      localStorage.removeItem(zoeKey);
    }, CLASS_KEY, ZOE_KEY);
    await page.close();
  }
}

// The page for a Dutch browser: the captions, the Settings and Create Question dialogs
// (named in Dutch, nothing in them English that the catalogue translates) and the
// refusal in Dutch; 4578 : 35 drawn in Dutch notation and worked, with one wrong product
// announced, to "= 130 rest 28" and the tutor's Dutch praise; the board read and the
// live region in the Dutch catalogue's words; Help on the Dutch help page when the site
// has one; the dialogs looked at at 1x and 2x; the exit prompt and end view in Dutch.
// Waits until the keyboard is in the open dialog of that kind, before keys go to it.
async function focusIn(lesson, kind) {
  await waitUntil(() => lesson.page.evaluate((k) => Boolean(document.activeElement
    ?.closest(`dialog.bricketing-dialog[data-dialog="${k}"][open]`)), kind), 10000,
  `the focus in the ${kind} dialog`);
}

async function dutch(suite) {
  const nl = catalogue("nl");
  const lesson = await suite.open({ settings: null, languages: ["nl-NL", "nl"] });
  await waitForQuestion(lesson);
  // The page's own controls shown beside the program (the commands', the pad's, the
  // practice record's) too.
  const controls = await lesson.page.$$eval("button", (all) => all
    .filter((b) => b.getClientRects().length)
    .flatMap((b) => [b.textContent.trim(), b.getAttribute("aria-label") ?? ""]).filter(Boolean));
  expect(controls.includes("Instellingen") && !englishLeft(controls, nl).length,
    `the page's controls still say ${englishLeft(controls, nl)} in English`);
  const dialogs = [
    ["Settings", "settings", "Instellingen", ["OK", "Annuleren", "Uitwerking", "Auto-product",
      "Auto-rest", "Weergave", '"keer"', "Niveau", "Starter", "Gevorderd"]],
    ["Create Question", "create-question", "Zelf een som", ["OK", "Annuleren", ":"]],
  ];
  for (const [button, kind, caption, names] of dialogs) {
    const selector = await lesson.openDialog(button, kind, caption);
    const shown = await lesson.page.$eval(selector, (dialog) => [...dialog.querySelectorAll("*")]
      .filter((e) => !e.children.length && e.tagName !== "OPTION" && e.textContent.trim())
      .map((e) => e.textContent.trim()));
    const view = await lesson.readerView();
    expect(view.find("dialog", caption), `the ${kind} dialog is not named "${caption}"`);
    expect(names.every((name) => shown.includes(name)), `${caption} shows ${shown}, not all of ${names}`);
    expect(!englishLeft(shown, nl).length, `${caption} still shows ${englishLeft(shown, nl)} in English`);
    await lesson.lookAtPage(`${kind}-nl`);
    await focusIn(lesson, kind);
    if (kind === "settings") {
      await lesson.keys("Escape");
      await lesson.waitUntilClosed(kind);
    }
  }
  expect((await lesson.readerView()).find("textbox", "Deeltal") && (await lesson.readerView()).find("textbox", "Deler"),
    "the Create Question fields are not named Deeltal and Deler");
  await lesson.enterNumber(12345);
  const refusal = await lesson.messageBox();
  expect(refusal.caption === "Fout" &&
    refusal.text === "Het deeltal (het getal dat je deelt) moet kleiner zijn dan 10.000.",
    `the Error box says "${refusal.caption}": "${refusal.text}"`);
  await focusIn(lesson, "message-box");
  await lesson.keys("Enter");
  await lesson.waitUntilClosed("message-box");
  await focusIn(lesson, "create-question");
  await lesson.enterNumber(4578);
  await lesson.enterNumber(35);
  await lesson.waitUntilClosed("create-question");
  await lesson.moveTo(...AWAY_FROM_BUTTONS);
  const { shot } = await lesson.waitForLook("question-4578-by-35", [["shows_header", "4578 : 35"]],
    (shown) => shown, 'the header "4578 : 35"');
  const [english] = await lesson.ask(shot, [["shows_header", "4578 ÷ 35"]]);
  expect(!english, "the header check cannot tell the Dutch division sign from the English one");
  // A reader speaks the question in words, as ":" would be read as punctuation.
  const name = nl.say("spoken question\u0004{dividend} ÷ {divisor}", { dividend: 4578, divisor: 35 });
  expect(name === "4578 gedeeld door 35", `the Dutch catalogue reads the question as "${name}"`);
  await waitForBoardText(lesson, (b) => b.name === name && b.description ===
    `${nl.say("How many lots of {divisor} to take from {left}?", { divisor: 35, left: 4578 })} ${nl.say("Nothing typed yet.")}`,
  "the board read in Dutch");
  const newQuestion = nl.say("New question: {question}.", { question: name });
  await waitUntil(async () => (await announced(lesson)).includes(newQuestion), 10000,
    async () => `"${newQuestion}" (the live region says "${await announced(lesson)}")`);

  // 100 keer 35 (3500, 1078 left), then 30 keer with 1051 typed before 1050, 28 left.
  await waitUntil(async () => (await focusAndControls(lesson.page)).id === "board", 5000,
    "the focus back on the board");
  await lesson.keys(..."100", "Enter", ..."3500", "Enter", ..."1078", "Enter", ..."30", "Enter",
    ..."1051", "Enter");
  const wrong = nl.say("Wrong: {count} lot of {divisor} is not {typed}.",
    { count: 30, divisor: 35, typed: 1051 }, "Wrong: {count} lots of {divisor} is not {typed}.");
  await waitUntil(async () => (await announced(lesson)).includes(wrong), 10000,
    async () => `"${wrong}" (the live region says "${await announced(lesson)}")`);
  const slip = "Bijna. Hoeveel is 30 keer 35?";
  await lesson.waitForLook("wrong-product-1051", [["entry_error_pixels"], ["tutor_says", slip]],
    (errorPixels, says) => errorPixels > 40 && says, `the tutor saying "${slip}"`);
  await lesson.keys("1");
  await lesson.waitForLook("error-cleared", [["entry_error_pixels"]], (pixels) => pixels === 0,
    "the error colour to go");
  await lesson.keys(..."1050", "Enter", ..."28", "Enter", ..."130", "Enter");
  const praise = "Je zag je foutjes en verbeterde ze. Goed dat je doorging! Controle: 130 × 35 + 28 = 4578.";
  const { shot: solved } = await lesson.waitForLook("answer-130",
    [["shows_quotient", "= 130"], ["shows_remainder_part", " rest 28"], ["tutor_says", praise]],
    (...all) => all.every(Boolean), `"= 130 rest 28" and the tutor saying "${praise}"`);
  const [rem] = await lesson.ask(solved, [["shows_remainder_part", " rem.28"]]);
  expect(!rem, "the remainder check cannot tell the Dutch wording from the English one");
  await waitForBoardText(lesson, (b) => b.description ===
    nl.say("The answer is {answer} remainder {remainder}.", { answer: 130, remainder: 28 }),
  "the answer read in Dutch");

  // Help opens the Dutch page when the site has it (packed), else the English one.
  const dutchHelp = ["help.nl.html", "help.nl.html.gz"].some((name) =>
    existsSync(path.join(suite.site, "Help", name)));
  await checkHelp(lesson, () => lesson.pressButton("Help", "Hulp"),
    () => lesson.page.click("[data-help-close]"),
    ...(dutchHelp ? ["help.nl.html", "Hulp bij Bricketing"] : []));

  // The dialogs on a screen of twice the pixels, to be looked at. (A tab whose pixel
  // ratio rises while open is taken to be zoomed in, so this is a tab of its own.)
  const large = await suite.open({ settings: null, languages: ["nl-NL", "nl"], ratio: 2 });
  await waitUntil(async () => (await large.canvasBox()).backing[0] === 1600, 10000,
    "the picture at 2x");
  for (const [button, kind, caption] of dialogs) {
    await activate(large, button, caption);
    await large.waitForDialog(kind);
    await large.lookAtPage(`${kind}-nl-2x`);
    await focusIn(large, kind);
    await large.keys("Escape");
    await large.waitUntilClosed(kind);
  }
  await large.page.close();

  await lesson.page.focus("#board");
  await lesson.keys("Escape");
  const prompt = await lesson.messageBox();
  expect(prompt.caption === "Genoeg geoefend?" && prompt.text === "Klaar met delen voor vandaag?",
    `the exit prompt says "${prompt.caption}": "${prompt.text}"`);
  await focusIn(lesson, "message-box");
  await lesson.keys("Enter");
  await lesson.page.waitForSelector("#finished:not([hidden])", { timeout: 10000 });
  const title = await lesson.page.$eval("#finished-title", (e) => e.textContent);
  expect(title === "Klaar voor vandaag", `the end view says "${title}"`);
  await lesson.page.close();
}

const SCENARIOS = {
  sizeBudget,
  firstFrame, createAndSolve, hoverCaptions, aboutAndHelp, touch, settings, exitPrompt,
  keyboardAndReader, classList, offline, refusedStorage, practiceRecord, dutch,
};

async function main() {
  const site = path.resolve(option("--site", path.join(repositoryRoot, "build-web", "site")));
  const shots = path.resolve(option("--shots", path.join(repositoryRoot, "build-web", "e2e-shots")));
  const chosen = process.argv.slice(2).filter((arg, i, all) =>
    !arg.startsWith("--") && !all[i - 1]?.startsWith("--"));
  const names = chosen.length ? chosen : Object.keys(SCENARIOS);

  const suite = new Suite(site, shots);
  let failed = 0;
  try {
    await suite.start();
    for (const name of names) {
      const began = Date.now();
      console.log(`== ${name}`);
      suite.beginScenario(name);
      try {
        await SCENARIOS[name](suite);
        console.log(`   passed in ${((Date.now() - began) / 1000).toFixed(1)} s`);
      } catch (error) {
        failed += 1;
        console.log(`   FAILED: ${error instanceof Error ? error.stack : error}`);
      }
    }
  } finally {
    await suite.close();
  }
  console.log(`${names.length - failed} of ${names.length} web scenarios passed; shots in ${shots}`);
  process.exit(failed ? 1 : 0);
}

main();
