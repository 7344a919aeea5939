// The report's page: reads the run's data (summary, top taxa) from the page, writes the tables
// and hands each chart as a Vega chart description to Vega, which draws it.
(function () {
  "use strict";
  var data = JSON.parse(document.getElementById("varigap-data").textContent);
  var sum = data.summary, samples = Object.keys(sum.samples), main = document.getElementById("main");
  var figures = 0, charts = [], pending = 0;
  var SKIPS = [["skipped_too_long", "passed over: too long"], ["skipped_empty", "passed over: empty"],
               ["skipped_bad_letters", "passed over: bad letters"], ["skipped_malformed", "passed over: malformed"]];
  function get(s, k) { return (sum.samples[s] || {})[k] || 0; }
  function el(tag, attrs, text) {
    var e = document.createElement(tag);
    for (var a in attrs || {}) e.setAttribute(a, attrs[a]);
    if (text !== undefined) e.textContent = text;
    return e;
  }
  function fmt(v) { return typeof v === "number" ? v.toLocaleString("en-US") : v; }
  // A table whose columns sort on a click on their header (numbers as numbers).
  function table(head, rows) {
    var t = el("table", {"class": "sortable"}), tr = el("tr");
    head.forEach(function (h, c) {
      var th = el("th", {title: "Click to sort"}, h);
      th.addEventListener("click", function () { sortBy(t, c, th); });
      tr.appendChild(th);
    });
    t.appendChild(el("thead")).appendChild(tr);
    var body = t.appendChild(el("tbody"));
    rows.forEach(function (r) {
      var row = body.appendChild(el("tr"));
      r.forEach(function (v) {
        var td = row.appendChild(el("td", typeof v === "number" ? {"class": "num", "data-v": v} : {}, fmt(v)));
        td.dataset.v = typeof v === "number" ? v : String(v);
      });
    });
    return t;
  }
  function sortBy(t, c, th) {
    var down = th.dataset.dir !== "down", body = t.tBodies[0], rows = Array.prototype.slice.call(body.rows);
    t.querySelectorAll("th").forEach(function (h) { delete h.dataset.dir; });
    th.dataset.dir = down ? "down" : "up";
    rows.sort(function (a, b) {
      var x = a.cells[c].dataset.v, y = b.cells[c].dataset.v, nx = parseFloat(x), ny = parseFloat(y);
      var d = !isNaN(nx) && !isNaN(ny) ? nx - ny : x.localeCompare(y);
      return down ? -d : d;
    });
    rows.forEach(function (r) { body.appendChild(r); });
  }
  function section(title, text) {
    var s = main.appendChild(el("section"));
    s.appendChild(el("h2", {}, title));
    if (text) s.appendChild(el("p", {}, text));
    return s;
  }
  // A labelled figure: the chart beside its table.
  function figure(parent, caption, chartDef, tbl) {
    var f = parent.appendChild(el("figure", {"class": "figure"}));
    var row = f.appendChild(el("div", {"class": "pair"}));
    var chart = row.appendChild(el("div", {"class": "chart", id: "chart" + (++figures)}));
    row.appendChild(el("div", {"class": "table"})).appendChild(tbl);
    f.appendChild(el("figcaption", {}, "Figure " + figures + ". " + caption));
    charts.push([chart, chartDef]);
  }
  var palette = ["#4c78a8", "#f58518", "#54a24b", "#e45756", "#72b7b2", "#eeca3b", "#b279a2", "#ff9da6",
                 "#9d755d", "#79706e", "#1f77b4", "#bcbd22", "#17becf"];
  // Horizontal bars, one per row, stacked by category; `share` shows each row as 100%.
  function stacked(values, cats, colours, xTitle, share) {
    var rows = []; values.forEach(function (v) { if (rows.indexOf(v.row) < 0) rows.push(v.row); });
    return {
      width: 460, height: Math.max(60, 26 * rows.length), padding: 5,
      data: [{name: "t", values: values, transform: [
        {type: "formula", as: "order", expr: "indexof(" + JSON.stringify(cats) + ", datum.cat)"},
        {type: "stack", groupby: ["row"], field: "value", sort: {field: "order"}, offset: share ? "normalize" : "zero"}]}],
      scales: [{name: "y", type: "band", domain: rows, range: "height", padding: 0.2},
               {name: "x", type: "linear", domain: {data: "t", field: "y1"}, range: "width", nice: true, zero: true},
               {name: "c", type: "ordinal", domain: cats, range: colours || palette}],
      axes: [{orient: "left", scale: "y", labelLimit: 280},
             {orient: "bottom", scale: "x", title: xTitle, format: share ? "%" : ",d"}],
      legends: [{fill: "c", orient: "bottom", direction: "vertical", columns: 2, labelLimit: 360}],
      marks: [{type: "rect", from: {data: "t"}, encode: {enter: {
        y: {scale: "y", field: "row"}, height: {scale: "y", band: 1}, x: {scale: "x", field: "y0"},
        x2: {scale: "x", field: "y1"}, fill: {scale: "c", field: "cat"},
        tooltip: {signal: "datum.row + ': ' + datum.cat + ', ' + format(datum.value, ',d') + ' reads'"}}}}]
    };
  }

  // Run facts.
  document.getElementById("title").textContent = "Varigap report: " + samples.length + " sample" +
      (samples.length === 1 ? "" : "s");
  var run = section("The run", "Made by " + sum.program + " " + sum.version + " (summary schema version " +
      sum.schema_version + ").");
  var total = function (k) { return samples.reduce(function (n, s) { return n + get(s, k); }, 0); };
  var skippedAll = SKIPS.reduce(function (n, k) { return n + total(k[0]); }, 0);
  run.appendChild(el("p", {}, "Over all samples: " + fmt(total("reads") + skippedAll) + " records in, " +
      fmt(total("reads")) + " reads analysed (" + fmt(total("reverse_reads")) + " on the reverse strand), " +
      fmt(total("no_cr_reads")) + " without a conserved region, " + fmt(skippedAll) + " records passed over."));
  var params = [["command line", sum.command_line]];
  Object.keys(sum.parameters).forEach(function (k) { params.push([k, String(sum.parameters[k])]); });
  run.appendChild(table(["setting", "value"], params));

  // Reads per sample.
  var templates = [];
  samples.forEach(function (s) {
    Object.keys(sum.samples[s]).forEach(function (k) {
      var m = /^template:(.*):reads$/.exec(k);
      if (m && templates.indexOf(m[1]) < 0) templates.push(m[1]);
    });
  });
  function used(t) { return samples.some(function (s) { return get(s, "template:" + t + ":reads") > 0; }); }
  function withTemplate(s) { return templates.reduce(function (n, t) { return n + get(s, "template:" + t + ":reads"); }, 0); }
  var reads = section("Reads per sample", "Every record of a sample's files is either analysed or passed over; an " +
      "analysed read either has a template applied (its conserved regions were found) or none.");
  var cats = ["template applied", "no conserved region"].concat(SKIPS.map(function (k) { return k[1]; }));
  var values = [], rows = [];
  samples.forEach(function (s) {
    var skipped = SKIPS.map(function (k) { return get(s, k[0]); });
    [withTemplate(s), get(s, "no_cr_reads")].concat(skipped).forEach(function (v, i) {
      values.push({row: s, cat: cats[i], value: v});
    });
    rows.push([s, get(s, "reads") + skipped.reduce(function (a, b) { return a + b; }, 0), get(s, "reads"),
               withTemplate(s), get(s, "no_cr_reads")].concat(skipped).concat([get(s, "distinct_reads")]));
  });
  figure(reads, "Records of each sample: reads with a template applied, reads in which no conserved region of " +
      "any template was found, and records passed over, by reason.",
      stacked(values, cats, ["#4c78a8", "#bab0ac", "#e45756", "#ff9da6", "#f58518", "#9d755d"], "records"),
      table(["sample", "records in", "reads analysed", "template applied", "no conserved region", "too long",
             "empty", "bad letters", "malformed", "distinct reads"], rows));
  values = []; rows = [];
  samples.forEach(function (s) {
    var rev = get(s, "reverse_reads");
    values.push({row: s, cat: "forward", value: get(s, "reads") - rev}, {row: s, cat: "reverse", value: rev});
    rows.push([s, get(s, "reads") - rev, rev]);
  });
  figure(reads, "Strand analysed: reads taken as given (forward) or as their reverse complement (reverse).",
      stacked(values, ["forward", "reverse"], null, "reads"), table(["sample", "forward", "reverse"], rows));

  // Templates and regions.
  var tsec = section("Templates applied", "Reads to which each template of the template file was applied, and " +
      "how each of its regions was placed (for the templates that reads took): on a line of its own marked ':' " +
      "(placed), uncertain ('?'), or not found.");
  tsec.appendChild(table(["template"].concat(samples), templates.map(function (t) {
    return [t].concat(samples.map(function (s) { return get(s, "template:" + t + ":reads"); }));
  })));
  rows = [];
  samples.forEach(function (s) {
    Object.keys(sum.samples[s]).forEach(function (k) {
      var m = /^region:(.*):(.*):placed$/.exec(k);
      if (m && used(m[1])) rows.push([s, m[1], m[2], get(s, k), get(s, "region:" + m[1] + ":" + m[2] + ":uncertain"),
                        get(s, "region:" + m[1] + ":" + m[2] + ":not_found")]);
    });
  });
  tsec.appendChild(table(["sample", "template", "region", "placed", "uncertain", "not found"], rows));

  // Variable regions: identification, taxa, heat map, lengths.
  // The variable regions of the templates that some read took (a template file may hold many);
  // summaries before schema version 2 have no lengths.
  var vrs = [];
  samples.forEach(function (s) {
    Object.keys(sum.samples[s]).forEach(function (k) {
      var m = /^vr:(.*):([0-9]+):identified$/.exec(k), v = m && m[1] + ":" + m[2];
      if (m && vrs.indexOf(v) < 0 && used(m[1])) vrs.push(v);
    });
  });
  var ident = section("Variable regions identified", "A variable region is identified when it is placed and " +
      "its bases are a variant listed in its variable region file; reads with a template applied are either.");
  values = []; rows = [];
  samples.forEach(function (s) {
    vrs.forEach(function (v) {
      var row = vrs.length > 1 ? s + " \u00b7 " + v : s;
      var i = get(s, "vr:" + v + ":identified"), u = get(s, "vr:" + v + ":unidentified");
      values.push({row: row, cat: "identified", value: i}, {row: row, cat: "unidentified", value: u});
      rows.push([s, v, i, u, i + u ? Math.round(1000 * i / (i + u)) / 10 : 0]);
    });
  });
  figure(ident, "Reads whose variable region (TEMPLATE:NUMBER) was identified with a listed variant, per sample.",
      stacked(values, ["identified", "unidentified"], ["#54a24b", "#bab0ac"], "reads"),
      table(["sample", "variable region", "identified", "unidentified", "identified %"], rows));

  vrs.forEach(function (v) {
    var taxa = (data.taxa || {})[v], vsec = section("Variable region " + v);
    if (taxa) {
      var top = taxa.top.slice(0, 10), cats = top.map(function (t) { return t.taxa; }).concat(["other", "unidentified"]);
      var other = taxa.other.slice();
      taxa.top.slice(10).forEach(function (t) { t.reads.forEach(function (r, i) { other[i] += r; }); });
      values = []; rows = [];
      samples.forEach(function (s, i) {
        top.forEach(function (t) { values.push({row: s, cat: t.taxa, value: t.reads[i]}); });
        values.push({row: s, cat: "other", value: other[i]}, {row: s, cat: "unidentified", value: taxa.unidentified[i]});
      });
      top.concat([{taxa: "other", reads: other}, {taxa: "unidentified", reads: taxa.unidentified}]).forEach(function (t) {
        rows.push([t.taxa].concat(t.reads).concat([t.reads.reduce(function (a, b) { return a + b; }, 0)]));
      });
      figure(vsec, "The taxa most often found in variable region " + v + ": the share of each sample's reads " +
          "with a template applied whose variant stands for these taxa; 'other' adds up the reads of all other " +
          "identified variants, 'unidentified' the reads whose variant is not listed.",
          stacked(values, cats, palette.slice(0, top.length).concat(["#d4d4d4", "#8c8c8c"]), "share of reads", true),
          table(["taxa"].concat(samples).concat(["all samples"]), rows));
      var cells = [];
      var totals = samples.map(function (s, i) {
        return taxa.top.reduce(function (n, t) { return n + t.reads[i]; }, taxa.other[i] + taxa.unidentified[i]);
      });
      taxa.top.forEach(function (t) {
        samples.forEach(function (s, i) {
          cells.push({sample: s, taxon: t.taxa, reads: t.reads[i], share: totals[i] ? t.reads[i] / totals[i] : 0});
        });
      });
      figure(vsec, "Heat map of the " + taxa.top.length + " taxa with the most reads in variable region " + v +
          " over all samples: the colour is the share of the sample's reads with a template applied.", {
        width: Math.max(200, 22 * taxa.top.length), height: Math.max(40, 22 * samples.length), padding: 5,
        data: [{name: "h", values: cells}],
        scales: [{name: "x", type: "band", domain: taxa.top.map(function (t) { return t.taxa; }), range: "width"},
                 {name: "y", type: "band", domain: samples, range: "height"},
                 {name: "c", type: "sequential", scheme: "blues", domain: [0, {signal: "max(0.01, extent(pluck(data('h'), 'share'))[1])"}]}],
        axes: [{orient: "bottom", scale: "x", labelAngle: -50, labelAlign: "right", labelLimit: 180},
               {orient: "left", scale: "y"}],
        legends: [{fill: "c", type: "gradient", title: "share", format: "%"}],
        marks: [{type: "rect", from: {data: "h"}, encode: {enter: {
          x: {scale: "x", field: "taxon"}, width: {scale: "x", band: 1}, y: {scale: "y", field: "sample"},
          height: {scale: "y", band: 1}, fill: {scale: "c", field: "share"}, stroke: {value: "white"},
          tooltip: {signal: "datum.sample + ', ' + datum.taxon + ': ' + format(datum.reads, ',d') + ' reads (' + format(datum.share, '.1%') + ')'"}}}}]
      }, table(["taxa"].concat(samples), taxa.top.map(function (t) {
        return [t.taxa].concat(t.reads.map(function (r, i) { return totals[i] ? Math.round(1000 * r / totals[i]) / 10 : 0; }));
      })));
    }
    var lengths = [], byLength = {};
    samples.forEach(function (s) {
      var l = ((sum.vr_lengths || {})[s] || {})[v] || {};
      Object.keys(l).forEach(function (n) {
        lengths.push({sample: s, length: +n, reads: l[n]});
        (byLength[n] = byLength[n] || {})[s] = l[n];
      });
    });
    if (lengths.length) figure(vsec, "Length distribution of variable region " + v + ": reads by the number of bases between its " +
        "conserved regions, stacked by sample.", {
      width: 460, height: 200, padding: 5,
      data: [{name: "l", values: lengths, transform: [{type: "stack", groupby: ["length"], field: "reads", sort: {field: "sample"}}]}],
      scales: [{name: "x", type: "linear", domain: {data: "l", field: "length"}, range: "width", padding: 8, zero: false, nice: false},
               {name: "y", type: "linear", domain: {data: "l", field: "y1"}, range: "height", nice: true},
               {name: "c", type: "ordinal", domain: samples, range: palette}],
      axes: [{orient: "bottom", scale: "x", title: "length (bases)", format: "d", tickMinStep: 1},
             {orient: "left", scale: "y", title: "reads", format: ",d"}],
      legends: [{fill: "c", title: "sample"}],
      marks: [{type: "rect", from: {data: "l"}, encode: {enter: {
        xc: {scale: "x", field: "length"}, width: {value: 3}, y: {scale: "y", field: "y0"}, y2: {scale: "y", field: "y1"},
        fill: {scale: "c", field: "sample"},
        tooltip: {signal: "datum.sample + ': ' + format(datum.reads, ',d') + ' reads of ' + datum.length + ' bases'"}}}}]
    }, table(["length"].concat(samples), Object.keys(byLength).map(function (n) {
      return [+n].concat(samples.map(function (s) { return byLength[n][s] || 0; }));
    })));
  });

  // Vega draws every chart; the page says when all are drawn (for a reader and for tests).
  pending = charts.length;
  charts.forEach(function (c) {
    new vega.View(vega.parse(c[1]), {renderer: "svg", container: c[0], hover: true}).runAsync().then(function () {
      c[0].dataset.rendered = "1";
      if (--pending === 0) document.body.dataset.charts = String(charts.length);
    }).catch(function (e) { console.error("chart " + c[0].id + ": " + e); });
  });
})();
