// The practice record's report, built in the page from the record's CSV files: for the
// class and then for each pupil, questions per day, right first time per kind of line,
// the commonest slips with examples, the level over time, steps against the fewest
// steps, and the last questions. Every chart has a table with its numbers for screen
// readers. Texts come from the program's words lookup (the report-texts block), looked
// up by their English source; placeholders are named, as in the program.
"use strict";

(function () {
  const data = (id, fallback) => {
    const element = document.getElementById(id);
    try {
      return element ? JSON.parse(element.textContent) : fallback;
    } catch (error) {
      return fallback;
    }
  };
  const files = data("record-files", []);
  const words = data("report-texts", { lang: "en", texts: {} });

  function T(english, values) {
    let text = (words.texts && words.texts[english]) || english;
    for (const [name, value] of Object.entries(values || {})) {
      text = text.split("{" + name + "}").join(String(value));
    }
    return text;
  }

  // --- Reading the CSV files -----------------------------------------------------------

  // Whole rows only: a line must end in CR LF, its quotes pair up and it has as many
  // fields as the header. A line torn by a crash fails one of these and is skipped.
  function splitFields(line) {
    const fields = [""];
    let quoted = false;
    let wasQuoted = false;
    for (let i = 0; i < line.length; i++) {
      const c = line[i];
      if (quoted) {
        if (c !== '"') fields[fields.length - 1] += c;
        else if (line[i + 1] === '"') { fields[fields.length - 1] += '"'; i++; }
        else quoted = false;
      } else if (c === ",") { fields.push(""); wasQuoted = false; }
      else if (c === '"' && fields[fields.length - 1] === "" && !wasQuoted) {
        quoted = wasQuoted = true;
      } else if (c === '"' || c === "\r" || c === "\0") return null;
      else fields[fields.length - 1] += c;
    }
    return quoted ? null : fields;
  }

  function readCsv(text) {
    if (text.charCodeAt(0) === 0xfeff) text = text.slice(1);
    const lines = text.split("\n");
    lines.pop(); // after the last line end: empty, or a line torn before its end
    let header = null;
    const rows = [];
    for (const line of lines) {
      const fields = line.endsWith("\r") ? splitFields(line.slice(0, -1)) : null;
      if (!header) {
        if (!fields) return null;
        header = fields;
      } else if (fields && fields.length === header.length) {
        const row = {};
        header.forEach((name, i) => { row[name] = fields[i]; });
        rows.push(row);
      }
    }
    return header ? { header, rows } : null;
  }

  const folderOf = (name) => name.replace(/[\\/][^\\/]*$/, "");

  // The files merged: questions by pupil and id, once however many copies were
  // gathered; each question's entries from the one folder its row was first found in.
  function merge(files) {
    const questions = new Map();
    const entriesByFolder = new Map();
    const pupilOfFolder = new Map();
    for (const file of files) {
      const table = readCsv(file.text || "");
      if (!table) continue;
      const folder = folderOf(file.name || "");
      if (table.header[0] === "id" && table.header.includes("started")) {
        for (const row of table.rows) {
          pupilOfFolder.set(folder, row.pupil);
          const key = row.pupil + "\n" + row.id;
          if (!questions.has(key)) questions.set(key, { ...row, folder, entries: [] });
        }
      } else if (table.header[0] === "question") {
        const list = entriesByFolder.get(folder) || [];
        entriesByFolder.set(folder, list.concat(table.rows));
      }
    }
    const byFolderAndId = new Map();
    for (const question of questions.values()) {
      byFolderAndId.set(question.folder + "\n" + question.id, question);
    }
    for (const [folder, entries] of entriesByFolder) {
      for (const entry of entries) {
        const question = byFolderAndId.get(folder + "\n" + entry.question);
        if (question) question.entries.push(entry);
      }
    }
    return [...questions.values()].sort((a, b) => Number(a.id) - Number(b.id));
  }

  // --- What the charts show ------------------------------------------------------------

  const levels = ["beginner", "novice", "intermediate", "advanced", "expert"];
  const levelNames = () => [T("Beginner"), T("Novice"), T("Intermediate"), T("Advanced"),
                            T("Expert")];
  const kinds = ["multiple", "product", "remainder", "total"];
  const kindNames = () => ({ multiple: T("Multiple"), product: T("Product"),
                             remainder: T("Remainder"), total: T("Total") });
  const dayOf = (question) => question.started.slice(0, 10);

  function perDay(questions) {
    const days = new Map();
    for (const q of questions) {
      const day = days.get(dayOf(q)) || { answered: 0, left: 0 };
      day[q.ended === "answered" ? "answered" : "left"]++;
      days.set(dayOf(q), day);
    }
    return [...days.entries()].sort((a, b) => (a[0] < b[0] ? -1 : 1));
  }

  // A line's kind is right first time when the first entry of that kind on that line
  // was right.
  function rightFirstTime(questions) {
    const counts = Object.fromEntries(kinds.map((k) => [k, { first: 0, lines: 0 }]));
    for (const q of questions) {
      const seen = new Set();
      for (const entry of q.entries) {
        const key = entry.line + " " + entry.kind;
        if (seen.has(key) || !counts[entry.kind]) continue;
        seen.add(key);
        counts[entry.kind].lines++;
        if (entry.result === "right") counts[entry.kind].first++;
      }
    }
    return counts;
  }

  function slipExample(entry, question) {
    const divisor = Number(question.divisor);
    const values = { typed: entry.typed, expected: entry.expected, divisor };
    switch (entry.slip) {
      case "more-than-left":
        return T("{typed} lots of {divisor}, more than was left", values);
      case "subtraction-slip":
        return T("remainder {expected} typed as {typed}", values);
      case "addition-slip":
        return T("total {expected} typed as {typed}", values);
      default:
        if (entry.kind === "product" && divisor > 0 && entry.expected !== "") {
          values.multiple = Number(entry.expected) / divisor;
          return T("{multiple} lots of {divisor} typed as {typed}", values);
        }
        return T("{expected} typed as {typed}", values);
    }
  }

  const slipNames = () => ({
    "more-than-left": T("More than is left"),
    "ten-times-too-big": T("Ten times too big"),
    "ten-times-too-small": T("Ten times too small"),
    "one-lot-too-many": T("One lot too many"),
    "one-lot-too-few": T("One lot too few"),
    "subtraction-slip": T("Subtraction slip"),
    "addition-slip": T("Addition slip"),
    "not-quite": T("Not quite"),
  });

  function commonestSlips(questions) {
    const slips = new Map();
    for (const q of questions) {
      for (const entry of q.entries) {
        if (entry.result !== "wrong" || !entry.slip) continue;
        const slip = slips.get(entry.slip) || { count: 0, examples: new Map() };
        slip.count++;
        const example = slipExample(entry, q);
        slip.examples.set(example, (slip.examples.get(example) || 0) + 1);
        slips.set(entry.slip, slip);
      }
    }
    return [...slips.entries()].sort((a, b) => b[1].count - a[1].count);
  }

  // The highest level worked each day (own questions have none).
  function levelPerDay(questions) {
    const days = new Map();
    for (const q of questions) {
      const level = levels.indexOf(q.level);
      if (level < 0) continue;
      days.set(dayOf(q), Math.max(days.has(dayOf(q)) ? days.get(dayOf(q)) : -1, level));
    }
    return [...days.entries()].sort((a, b) => (a[0] < b[0] ? -1 : 1));
  }

  // Average steps taken and fewest steps per day, over the answered questions.
  function stepsPerDay(questions) {
    const days = new Map();
    for (const q of questions) {
      if (q.ended !== "answered") continue;
      const day = days.get(dayOf(q)) || { steps: 0, fewest: 0, count: 0 };
      day.steps += Number(q.steps);
      day.fewest += Number(q.fewest_steps);
      day.count++;
      days.set(dayOf(q), day);
    }
    const round = (x) => Math.round(x * 10) / 10;
    return [...days.entries()].sort((a, b) => (a[0] < b[0] ? -1 : 1))
      .map(([day, d]) => [day, round(d.steps / d.count), round(d.fewest / d.count)]);
  }

  // --- Building the page ---------------------------------------------------------------

  function element(tag, attributes, ...children) {
    const made = document.createElement(tag);
    for (const [name, value] of Object.entries(attributes || {})) {
      if (name === "text") made.textContent = value;
      else made.setAttribute(name, value);
    }
    for (const child of children) if (child) made.appendChild(child);
    return made;
  }

  function table(caption, headings, rows, hidden) {
    const made = element("table", hidden ? { class: "visually-hidden" } : {});
    made.appendChild(element("caption", { text: caption, class: hidden ? "" : "visually-hidden" }));
    const head = element("tr");
    for (const heading of headings) head.appendChild(element("th", { scope: "col", text: heading }));
    made.appendChild(element("thead", {}, head));
    const body = element("tbody");
    for (const row of rows) {
      const line = element("tr");
      for (const cell of row) {
        line.appendChild(element("td", {
          text: String(cell), class: typeof cell === "number" ? "number" : "" }));
      }
      body.appendChild(line);
    }
    made.appendChild(body);
    return made;
  }

  const colours = ["#b7410e", "#2e6f9e", "#6a8d2f", "#8e5ba8"];
  const charts = [];

  // A chart with its numbers in a table beside it for screen readers; the picture itself
  // is hidden from them, as the table says the same.
  function chart(title, config, headings, rows) {
    const canvas = element("canvas", { "aria-hidden": "true" });
    const figure = element("section", { class: "chart" }, element("h3", { text: title }),
                           element("div", { class: "canvas" }, canvas),
                           table(title, headings, rows, true));
    config.options = Object.assign({ responsive: true, maintainAspectRatio: false,
                                     animation: false, elements: { point: { radius: 4 } } },
                                   config.options || {});
    if (window.Chart) charts.push(() => new window.Chart(canvas, config));
    return figure;
  }

  function section(container, title, questions, id) {
    const part = element("section", { class: id ? "pupil" : "class", "aria-labelledby": id || "class" });
    part.appendChild(element("h2", { id: id || "class", text: title }));
    const answered = questions.filter((q) => q.ended === "answered").length;
    part.appendChild(element("p", { class: "note", text: T(
      "Questions: {questions}. Days practised: {days}. Answered: {answered}.",
      { questions: questions.length, days: perDay(questions).length, answered }) }));
    const grid = element("div", { class: "charts" });
    part.appendChild(grid);

    const days = perDay(questions);
    grid.appendChild(chart(T("Questions per day"), {
      type: "bar",
      data: { labels: days.map((d) => d[0]), datasets: [
        { label: T("Answered"), data: days.map((d) => d[1].answered), backgroundColor: colours[0],
          maxBarThickness: 40 },
        { label: T("Left unfinished"), data: days.map((d) => d[1].left), backgroundColor: colours[1],
          maxBarThickness: 40 },
      ] },
      options: { scales: { x: { stacked: true }, y: { stacked: true, beginAtZero: true,
                                                      ticks: { precision: 0 } } } },
    }, [T("Day"), T("Answered"), T("Left unfinished")],
    days.map((d) => [d[0], d[1].answered, d[1].left])));

    const first = rightFirstTime(questions);
    const names = kindNames();
    const percent = (k) => (first[k].lines ? Math.round((100 * first[k].first) / first[k].lines) : 0);
    grid.appendChild(chart(T("Right first time, by kind of line"), {
      type: "bar",
      data: { labels: kinds.map((k) => names[k]), datasets: [
        { label: T("Right first time (%)"), data: kinds.map(percent), backgroundColor: colours[2],
          maxBarThickness: 60 },
      ] },
      options: { scales: { y: { beginAtZero: true, max: 100 } } },
    }, [T("Kind of line"), T("Right first time (%)"), T("Lines")],
    kinds.map((k) => [names[k], percent(k), first[k].lines])));

    const level = levelPerDay(questions);
    const levelLabels = levelNames();
    grid.appendChild(chart(T("Level over time"), {
      type: "line",
      data: { labels: level.map((d) => d[0]), datasets: [
        { label: T("Highest level that day"), data: level.map((d) => d[1]),
          borderColor: colours[3], backgroundColor: colours[3], stepped: true },
      ] },
      options: { scales: { y: { min: 0, max: 4, ticks: { stepSize: 1,
        callback: (value) => levelLabels[value] || "" } } } },
    }, [T("Day"), T("Highest level that day")], level.map((d) => [d[0], levelLabels[d[1]]])));

    const steps = stepsPerDay(questions);
    grid.appendChild(chart(T("Steps against the fewest steps"), {
      type: "line",
      data: { labels: steps.map((d) => d[0]), datasets: [
        { label: T("Steps taken (average)"), data: steps.map((d) => d[1]),
          borderColor: colours[0], backgroundColor: colours[0] },
        { label: T("Fewest steps (average)"), data: steps.map((d) => d[2]),
          borderColor: colours[1], backgroundColor: colours[1], borderDash: [6, 4] },
      ] },
      options: { scales: { y: { beginAtZero: true } } },
    }, [T("Day"), T("Steps taken (average)"), T("Fewest steps (average)")], steps));

    const slips = commonestSlips(questions);
    part.appendChild(element("h3", { text: T("Commonest slips") }));
    const slipName = slipNames();
    if (slips.length === 0) {
      part.appendChild(element("p", { class: "empty", text: T("No slips.") }));
    } else {
      part.appendChild(table(T("Commonest slips"), [T("Slip"), T("Times"), T("Examples")],
        slips.slice(0, 8).map(([code, slip]) => [slipName[code] || code, slip.count,
          [...slip.examples.entries()].sort((a, b) => b[1] - a[1]).slice(0, 3)
            .map(([text, times]) => (times === 1 ? T("{example}, once", { example: text })
              : T("{example}, {times} times", { example: text, times })))
            .join("; ")]), false));
    }

    part.appendChild(element("h3", { text: T("Last questions") }));
    const last = questions.slice(-15).reverse();
    part.appendChild(table(T("Last questions"),
      [T("Started"), T("Pupil"), T("Question"), T("Level"), T("How it ended"), T("Chunks"),
       T("Steps"), T("Fewest steps"), T("Wrong entries"), T("Seconds")],
      last.map((q) => [q.started.replace("T", " ").slice(0, 16), q.pupil,
        T("{dividend} ÷ {divisor}", { dividend: q.dividend, divisor: q.divisor }),
        q.level === "own question" ? T("Own question") : levelLabels[levels.indexOf(q.level)] || q.level,
        q.ended === "answered"
          ? T("Answered: {answer} r {remainder}", { answer: q.answer, remainder: q.remainder })
          : T("Left unfinished"),
        q.chunks, Number(q.steps), Number(q.fewest_steps),
        Number(q.wrong_multiples) + Number(q.wrong_products) + Number(q.wrong_remainders) +
          Number(q.wrong_totals),
        Number(q.seconds)]), false));
    container.appendChild(part);
  }

  function build() {
    document.documentElement.lang = words.lang || "en";
    document.title = T("Practice record");
    const main = document.getElementById("report");
    main.querySelector("#report-title").textContent = T("Practice record");
    const questions = merge(files);
    const pupils = [...new Set(questions.map((q) => q.pupil))].sort();
    if (questions.length === 0) {
      main.appendChild(element("p", { class: "empty", text: T("No questions are recorded yet.") }));
      return;
    }
    main.appendChild(element("p", { class: "note", text: T(
      "Pupils: {pupils}. Questions: {questions}. From {first} to {last}.",
      { pupils: pupils.length, questions: questions.length, first: dayOf(questions[0]),
        last: dayOf(questions[questions.length - 1]) }) }));
    const list = element("ul");
    pupils.forEach((pupil, i) => {
      list.appendChild(element("li", {}, element("a", { href: "#pupil-" + i, text: pupil })));
    });
    main.appendChild(element("nav", { "aria-label": T("Pupils") }, list));
    section(main, T("The class"), questions);
    pupils.forEach((pupil, i) => {
      section(main, pupil, questions.filter((q) => q.pupil === pupil), "pupil-" + i);
    });
    for (const make of charts) make();
  }

  window.practiceReport = { readCsv, merge };
  build();
})();
