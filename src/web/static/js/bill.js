// The bill form: title, menu bar, tool bar, header fields, entry grid(s) and status bar, as the
// host's bill form lays them out. Every change goes to the form's thread on the server; the
// outcome brings back the parts of the form that changed.
import { h } from './api.js';
import { WindowClient } from './windowclient.js';
import { renderBar } from './bar.js';
import { renderJournal } from './journal.js';
import { HeadFields } from './head.js';
import { EntryGrid } from './grid.js';
import { pickList } from './picklist.js';
import { showPrint } from './print.js';

const FORM_STATES = { 0: '查看', 1: '新增', 2: '修改' };
const STAMPS = { 1: '已审核', 2: '已关闭' };

export class BillPage {
  // `leave()` goes back to where the person came from once the form closes.
  constructor(root, id, { user, leave }) {
    this.leave = leave;
    this.client = new WindowClient(id, (outcome, request) => this.apply(outcome, request));
    this.head = new HeadFields(this);
    this.grids = [];
    this.active = '';
    this.readOnly = false;
    this.title = h('span.title');
    this.caption = h('span.caption');
    this.stamp = h('span.stamp');
    this.menubar = h('nav.menubar');
    this.toolbar = h('div.toolbar');
    this.gridsEl = h('div.grids');
    this.panels = { 2: h('span.panel', { dataset: { panel: 2 } }), 3: h('span.panel', { dataset: { panel: 3 } }) };
    this.state = h('span.panel.state');
    this.errors = h('aside.errors', { hidden: true });
    this.el = h('div.window.bill', { dataset: { window: id } },
      h('header.titlebar', null, this.title, this.caption, this.stamp, h('span.spacer'),
        h('span.user', null, user), h('button.close', { type: 'button', title: '关闭', onclick: () => this.close() }, '✕')),
      this.menubar, this.toolbar,
      h('div.form-body', null, this.head.el, this.gridsEl),
      h('footer.statusbar', null, this.panels[2], this.panels[3], this.state),
      this.errors);
    this.el.addEventListener('keydown', (e) => {
      if (e.ctrlKey && e.key.toLowerCase() === 's') {
        e.preventDefault();
        document.activeElement?.blur();  // what is being typed goes first
        this.tool('mnuEditFileSave');
      }
    });
    root.replaceChildren(this.el);
  }

  // Shows the window as it stands (a dialog it waits on included).
  async start() {
    await this.client.load();
    this.grids[0]?.focus();
  }

  apply(outcome, request) {
    if (outcome.gone) {
      this.leave();
      return;
    }
    renderJournal(this.errors, outcome.journal);
    const v = outcome.view;
    if (!v) return;
    if (v.title !== undefined) {
      this.title.textContent = v.title;
      this.caption.textContent = v.caption && v.caption !== v.title ? v.caption : '';
      document.title = v.title;
    }
    this.stamp.textContent = STAMPS[v.audited] || '';
    this.stamp.hidden = !STAMPS[v.audited];
    if (v.panels) {
      this.panels[2].textContent = v.panels[2];
      this.panels[3].textContent = v.panels[3];
    }
    this.state.textContent = `${FORM_STATES[v.formState] ?? ''}${v.dirty ? ' *' : ''}`;
    const readOnlyChanged = !!v.readOnly !== this.readOnly;
    this.readOnly = !!v.readOnly;
    if (v.head) this.head.apply(v.head);
    (v.grids || []).forEach((g, i) => {
      if (!this.grids[i]) {
        this.grids[i] = new EntryGrid(i + 1, this);
        this.gridsEl.append(this.grids[i].el);
      }
      this.grids[i].apply(g);
      if (readOnlyChanged && !g.all) this.grids[i].refresh();
    });
    if (v.pictures) this.#drawPictures(v.pictures);
    if (v.bar) renderBar(this.menubar, this.toolbar, v.bar, (key) => this.tool(key));
    // The host's cursor follows the person's edits and rows; where a rule moved it elsewhere (a
    // check points at the offending cell) the page's cursor goes there too.
    const active = v.active ? `${v.active.key}@${v.active.row > 0 ? v.active.row : -1}` : '';
    if (active && this.#follows(outcome, request, active)) {
      if (v.active.row > 0) this.grids.forEach((g) => g.moveToKey(v.active.key, v.active.row));
      else this.head.focusField(v.active.key);
    }
    this.active = active;
    if (v.closed) this.close();
    else if (outcome.result && outcome.result.print) showPrint(outcome.result.print);
  }

  // Whether the page's cursor goes where the host's is: after an edit that the host moved on
  // from the edited cell, and after a refused command (its check points at the offending cell).
  #follows(outcome, request, active) {
    if (!request) return false;
    if (request.op === 'edit') {
      const edited = `${request.key}@${request.row > 0 ? request.row : -1}`;
      return active !== this.active && active !== edited;
    }
    if (request.op === 'tool' && !outcome.dialog && outcome.result && outcome.result.cancelled) {
      const grid = this.grids.find((g) => g.columns.length);
      const cursor = grid ? grid.cursorKey() : '';
      const focused = document.activeElement?.dataset?.field;
      return active !== cursor && active !== `${focused}@-1`;
    }
    return false;
  }

  // --- what the parts ask of the form ---
  edit(key, row, value) {
    return this.client.run({ op: 'edit', key, row, value });
  }

  // The window afresh from the host (what the page holds went astray).
  reload() {
    return this.client.load();
  }

  paste(grid, row, keys, rows) {
    return this.client.run({ op: 'paste', grid, row, keys, rows });
  }

  async addRow(grid) {
    const outcome = await this.client.run({ op: 'addRow', grid });
    return !!(outcome && outcome.result && outcome.result.ok);
  }

  deleteRow(grid, row) {
    return this.client.run({ op: 'deleteRow', grid, row });
  }

  // Rows of a grid the page has not had yet: {from, rows}, or null.
  async fetchRows(grid, from, count) {
    const outcome = await this.client.run({ op: 'rows', grid, from, count });
    return outcome && outcome.result && outcome.result.ok ? outcome.result : null;
  }

  enterRow(grid, row) {
    return this.client.run({ op: 'enterRow', grid, row });
  }

  // A record chosen in a header box that offers records ("KIND:ID" from its pick list).
  choose(key, record) {
    return this.client.run({ op: 'choose', key, record });
  }

  pick(key, row, caption, typed) {
    return pickList(this.client, key, row, caption, typed);
  }

  tool(key) {
    return this.client.run({ op: 'tool', key });
  }

  // A click on a button of the bill's plug-in.
  control(name) {
    return this.client.run({ op: 'control', name, event: 'Click' });
  }

  // The plug-in's picture boxes, placed over the first entry grid where the host placed them,
  // each with the lines printed on it.
  #drawPictures(pictures) {
    const grid = this.grids[0];
    if (!grid) return;
    grid.el.querySelectorAll('.plugin-picture').forEach((p) => p.remove());
    for (const p of pictures) {
      grid.el.append(h('div.plugin-picture', {
        dataset: { control: p.name },
        style: `left:${p.left}px;top:${p.top}px;width:${p.width}px;height:${p.height}px;`
          + `${p.back ? `background:${p.back};` : ''}${p.fore ? `color:${p.fore};` : ''}`,
      }, p.lines.map((line) => h('div.line', null, line))));
    }
  }

  focusGrid() {
    this.grids[0]?.focus();
  }

  async close() {
    if (this.closing) return;
    this.closing = true;
    await this.client.close();
    this.leave();
  }
}
