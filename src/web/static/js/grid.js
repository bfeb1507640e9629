// An entry grid of a bill form, edited from the keyboard as ERP grids are: the arrows move the
// cursor, typing starts an edit, Enter and Tab commit and move on (past the last row a new row
// is added), Esc cancels, F2 edits the cell as it stands, F7 opens the pick list of a base-data
// column, Delete clears the cell, Ctrl+Delete deletes the row, Ctrl+V pastes rows copied from a
// spreadsheet.
//
// The grid knows every row but holds the cells of those it was sent: the first ones come with
// the window, the others are fetched from the host, a block at a time, as they scroll into
// view. It draws only the rows in view (and a few around them), at a steady row height, under a
// header and beside an item column that stay in place; a bill of ten thousand rows opens and
// scrolls as one of ten. A view from the host brings what changed (rows inserted and deleted,
// new rows, changed cells), and applying it costs what it brought; a change to a row not
// fetched yet is left for the fetch to bring.
import { h } from './api.js';

// A cell as the host sends it: its text, or [text, lock] or [text, lock, number] (base data).
const text = (cell) => (cell == null ? '' : typeof cell === 'string' ? cell : cell[0]);
const lockOf = (cell) => (Array.isArray(cell) ? cell[1] : 0);
const editText = (cell) => (Array.isArray(cell) && cell.length > 2 ? cell[2] : text(cell));
const LOCKED = 1;
const OPENED = 2;

// Column widths in pixels: as the host lays the grid out, else by the kind of field.
const ROWNO_WIDTH = 40;
const WIDTHS = { base: 130, number: 96, date: 100, time: 90, check: 56, text: 120 };
// Rows drawn beyond the visible ones on each side, so that scrolling a little draws nothing.
const OVERSCAN = 12;
// Rows fetched at once, from a multiple of it on; the next block is asked for while the rows
// before it are still in view.
const BLOCK = 200;

export class EntryGrid {
  // `page` offers edit(key, row, value), addRow(grid), deleteRow(grid, row), enterRow(grid, row),
  // paste(grid, row, keys, rows), pick(key, row, caption, typed) (resolves with a record or
  // null), fetchRows(grid, from, count) (resolves with {from, rows} as the host holds them now),
  // readOnly (the form may not be edited) and reload() (the window afresh).
  constructor(grid, page) {
    this.grid = grid;
    this.page = page;
    this.columns = [];
    this.widths = [];
    this.rows = [];  // a row's cells; null for a row inserted and not sent yet, a hole for one not fetched
    this.asked = new Set();  // blocks being fetched
    this.cursor = { row: 1, col: 0 };
    this.enteredRow = 0;
    this.editor = null;  // {input, row, col, original}
    this.pending = new Map();  // "row:col" -> text typed, until the host answers
    this.drawn = new Map();  // row -> tr
    this.rowHeight = 0;
    this.frame = 0;
    this.head = h('thead');
    // Two rows that are never shown mark where the drawn rows go, in order.
    this.top = h('tr.spacer', { 'aria-hidden': 'true' });
    this.bottom = h('tr.spacer', { 'aria-hidden': 'true' });
    this.body = h('tbody', null, this.top, this.bottom);
    this.table = h('table.entry', null, this.head, this.body);
    this.el = h('div.entry-wrap', { tabindex: 0, dataset: { grid } }, this.table);
    this.el.addEventListener('keydown', (e) => this.#key(e));
    this.el.addEventListener('scroll', () => {
      if (!this.frame) this.frame = requestAnimationFrame(() => { this.frame = 0; this.#render(); });
    });
    this.el.addEventListener('paste', (e) => this.#paste(e));
    this.body.addEventListener('mousedown', (e) => this.#click(e));
    this.body.addEventListener('dblclick', (e) => {
      if (e.target.closest('td[data-col]')) this.startEdit();
    });
    // Brings a row into view from outside (the tests, and whoever scripts the page).
    this.el.showRow = (row) => this.showRow(row);
  }

  // --- the host's view ---

  // Applies the grid part of a view. New columns come with every row; otherwise rows inserted
  // and deleted, new rows and changed cells.
  apply(g) {
    if (g.columns) this.#setColumns(g.columns);
    if (g.all) {
      this.rows = g.all;
      this.rows.length = g.rowCount;
      this.pending.clear();
      this.#redraw();
    } else {
      if (g.ops && g.ops.length) this.#replay(g.ops);
      const touched = [];
      for (const [r, cells] of Object.entries(g.rows || {})) {
        this.rows[Number(r) - 1] = cells;
        touched.push(Number(r));
      }
      for (const [r, cells] of Object.entries(g.patch || {})) {
        const row = this.rows[Number(r) - 1];
        if (!row) continue;  // not fetched: the fetch brings it as it stands
        for (const [c, cell] of cells) row[c] = cell;
        touched.push(Number(r));
      }
      if (g.ops && g.ops.length) this.#redraw();
      else for (const r of touched) this.#drawRow(r);
    }
    if (this.rows.length !== g.rowCount || (g.ops && g.ops.length && this.rows.some((r) => r === null))) {
      // What the page holds no longer matches the host (a view went missing): start afresh.
      this.page.reload();
      return;
    }
    if (this.cursor.row > this.rows.length) this.cursor.row = Math.max(1, this.rows.length);
    if (this.cursor.col >= this.columns.length) this.cursor.col = 0;
    this.#markCursor();
  }

  // The form's being read-only changed: every drawn cell shows it.
  refresh() {
    for (const r of this.drawn.keys()) this.#drawRow(r);
    this.#markCursor();
  }

  #setColumns(columns) {
    this.cancelEdit();
    this.columns = columns;
    this.widths = columns.map((c) => c.width || WIDTHS[c.type] || WIDTHS.text);
    // Fixed column widths: a row lays out on its own, never again with every changed cell.
    const widths = [ROWNO_WIDTH, ...this.widths];
    this.table.style.width = `${widths.reduce((a, b) => a + b, 0)}px`;
    this.head.replaceChildren(h('tr', null, h('th.rowno', null, ''),
      columns.map((c, i) => h('th', { dataset: { key: c.key }, title: c.caption, style: `width:${this.widths[i]}px` }, c.caption))));
    const span = String(columns.length + 1);
    this.top.replaceChildren(h('td', { colSpan: span }));
    this.bottom.replaceChildren(h('td', { colSpan: span }));
  }

  // Rows inserted and deleted, in order: the rows, the cursor and an open edit follow them.
  #replay(ops) {
    const follow = (row) => {
      for (const [insert, at, count] of ops) {
        if (insert) {
          if (row >= at) row += count;
        } else if (row >= at + count) {
          row -= count;
        } else if (row >= at) {
          return 0;  // deleted
        }
      }
      return row;
    };
    for (const [insert, at, count] of ops) {
      const i = at - 1;
      this.rows = insert
        ? this.rows.slice(0, i).concat(new Array(count).fill(null), this.rows.slice(i))
        : this.rows.slice(0, i).concat(this.rows.slice(i + count));
    }
    this.pending.clear();
    if (this.editor) {
      const row = follow(this.editor.row);
      if (row) {
        this.editor.row = row;
        this.editor.tr.dataset.row = row;
      } else {
        this.editor = null;
      }
    }
    this.cursor.row = follow(this.cursor.row) || this.cursor.row;
    this.enteredRow = follow(this.enteredRow);
  }

  // --- drawing ---

  #editable(row, col) {
    if (this.page.readOnly || this.#missing(row)) return false;
    const lock = lockOf(this.rows[row - 1]?.[col]);
    return lock === OPENED || (lock !== LOCKED && !this.columns[col]?.locked);
  }

  #cellClass(c) {
    return c.type === 'number' ? 'num' : c.type === 'base' ? 'base' : c.type === 'check' ? 'check' : '';
  }

  // Whether the row exists but its cells have not come yet.
  #missing(row) {
    return row >= 1 && row <= this.rows.length && this.rows[row - 1] === undefined;
  }

  // Asks the host for the blocks of rows `first` to `last` that hold rows not fetched. The host
  // answers in the order of the operations, so the rows come numbered as the grid numbers them.
  #fetch(first, last) {
    for (let b = Math.floor((first - 1) / BLOCK); b <= Math.floor((last - 1) / BLOCK); ++b) {
      const from = b * BLOCK + 1;
      const to = Math.min(this.rows.length, from + BLOCK - 1);
      if (this.asked.has(b)) continue;
      let missing = false;
      for (let r = from; r <= to && !missing; ++r) missing = this.#missing(r);
      if (!missing) continue;
      this.asked.add(b);
      this.page.fetchRows(this.grid, from, BLOCK).then((result) => {
        this.asked.delete(b);
        if (!result || !Array.isArray(result.rows)) return;
        result.rows.forEach((cells, i) => {
          const r = result.from + i;
          if (r > this.rows.length) return;
          this.rows[r - 1] = cells;
          this.#drawRow(r);
        });
        this.#markCursor();
      });
    }
  }

  // Draws every row in view afresh (but an open edit's).
  #redraw() {
    for (const [r, tr] of this.drawn) {
      if (this.editor && this.editor.tr === tr) continue;
      tr.remove();
      this.drawn.delete(r);
    }
    if (this.editor) {
      this.drawn.clear();
      this.drawn.set(this.editor.row, this.editor.tr);
    }
    this.#render();
  }

  // The rows in view: those that scrolled out go, those that scrolled in are drawn; the rows
  // drawn before stay as they are.
  #render() {
    const n = this.rows.length;
    const rh = this.#rowHeight();
    const view = Math.max(this.el.clientHeight - this.head.offsetHeight, rh);
    const first = Math.max(1, Math.floor(this.el.scrollTop / rh) + 1 - OVERSCAN);
    const last = Math.min(n, Math.ceil((this.el.scrollTop + view) / rh) + OVERSCAN);
    // Rows that scrolled out are kept for those that scroll in: a screen of new rows costs their
    // texts, not their elements.
    const spare = [];
    for (const [r, tr] of this.drawn) {
      if (r >= first && r <= last) continue;
      if (this.editor && this.editor.tr === tr) this.commitEdit(false);
      tr.remove();
      this.drawn.delete(r);
      if (tr.columns === this.columns) spare.push(tr);
    }
    const kept = [...this.drawn.keys()].sort((a, b) => a - b);
    const before = kept.length ? kept[0] : last + 1;
    const after = kept.length ? kept[kept.length - 1] : last;
    const anchor = kept.length ? this.drawn.get(kept[0]) : this.bottom;
    const make = (r) => {
      const tr = spare.pop();
      if (!tr) return this.#makeRow(r);
      tr.classList.remove('current');
      tr.querySelector('td.cursor')?.classList.remove('cursor');
      this.drawn.set(r, tr);
      this.#fillRow(tr, r);
      return tr;
    };
    for (let r = first; r < before; ++r) anchor.before(make(r));
    for (let r = Math.max(after + 1, first); r <= last; ++r) this.bottom.before(make(r));
    // The body is as tall as every row; each drawn row is moved to its place.
    this.body.style.height = `${n * rh}px`;
    this.#markCursor();
    if (n) {
      // The rows a screen ahead too, so that the next block is there when it scrolls in.
      const ahead = last - first + 1;
      this.#fetch(Math.max(1, first - ahead), Math.min(n, last + ahead));
    }
  }

  #rowHeight() {
    if (!this.rowHeight) {
      // Measured once on a row of the grid's own style; every row has that height.
      const probe = this.#makeRow(1, true);
      this.bottom.before(probe);
      const height = probe.getBoundingClientRect().height;
      probe.remove();
      if (!height) return 25;  // not laid out yet
      this.rowHeight = height;
    }
    return this.rowHeight;
  }

  #makeRow(r, probe = false) {
    const tr = h('tr', { dataset: { row: r } }, h('th.rowno', null, r),
      this.columns.map((c, i) => h('td', { dataset: { key: c.key, col: i }, class: this.#cellClass(c), style: `width:${this.widths[i]}px` })));
    if (probe) return tr;
    tr.columns = this.columns;  // the columns it was made for: reused only while they stand
    this.drawn.set(r, tr);
    this.#fillRow(tr, r);
    return tr;
  }

  #drawRow(r) {
    const tr = this.drawn.get(r);
    if (tr) this.#fillRow(tr, r);
  }

  #fillRow(tr, r) {
    tr.dataset.row = r;
    tr.style.transform = `translateY(${(r - 1) * (this.rowHeight || 25)}px)`;
    tr.firstChild.textContent = r;
    const cells = this.rows[r - 1] || [];
    tr.classList.toggle('loading', this.#missing(r));
    this.columns.forEach((c, i) => {
      const td = tr.children[i + 1];
      td.dataset.row = r;
      if (this.editor && this.editor.tr === tr && this.editor.col === i) return;  // being typed into
      const cell = cells[i];
      const pending = this.pending.get(`${r}:${i}`);
      td.classList.toggle('ro', !this.#editable(r, i));
      td.classList.toggle('pending', pending !== undefined);
      const shown = pending ?? text(cell);
      if (c.type === 'check') td.textContent = shown === '1' ? '☑' : '☐';
      else td.textContent = shown;
      if (c.type === 'base' && Array.isArray(cell) && cell[2]) td.title = cell[2];
      else td.removeAttribute('title');
    });
  }

  #td(row, col) {
    return this.drawn.get(row)?.children[col + 1];
  }

  #markCursor() {
    this.body.querySelector('td.cursor')?.classList.remove('cursor');
    this.body.querySelector('tr.current')?.classList.remove('current');
    this.body.querySelector('button.pick')?.remove();
    const td = this.#td(this.cursor.row, this.cursor.col);
    if (!td) return;
    td.classList.add('cursor');
    td.parentElement.classList.add('current');
    // A base-data cell the person may change offers its pick list.
    const column = this.columns[this.cursor.col];
    if (column.type === 'base' && this.#editable(this.cursor.row, this.cursor.col) && !this.editor) {
      const pick = h('button.pick', { type: 'button', tabindex: -1, title: '选择 (F7)', 'aria-label': '选择' });
      pick.addEventListener('mousedown', (e) => {
        e.preventDefault();
        e.stopPropagation();
        this.#pick('');
      });
      td.append(pick);
    }
  }

  // --- the cursor ---

  focus() {
    this.el.focus({ preventScroll: true });
  }

  // Scrolls row `row` into view and draws it (a person's move, or a test's).
  showRow(row, col = this.cursor.col) {
    this.#reveal(row, col);
    this.#render();
  }

  // Moves the cursor; entering another row tells the host.
  moveTo(row, col) {
    if (!this.rows.length) return;
    row = Math.min(Math.max(row, 1), this.rows.length);
    col = Math.min(Math.max(col, 0), this.columns.length - 1);
    this.cursor = { row, col };
    this.showRow(row, col);
    if (row !== this.enteredRow) {
      this.enteredRow = row;
      this.page.enterRow(this.grid, row);
    }
  }

  // Scrolls the grid (and only the grid) so that the cell is in sight beside the header, the
  // row numbers and the item column that stay in place.
  #reveal(row, col) {
    const wrap = this.el;
    const rh = this.#rowHeight();
    const view = wrap.clientHeight - this.head.offsetHeight;
    const top = (row - 1) * rh;
    if (top < wrap.scrollTop) wrap.scrollTop = top;
    else if (top + rh > wrap.scrollTop + view) wrap.scrollTop = top + rh - view;
    const left = ROWNO_WIDTH + this.widths.slice(0, col).reduce((a, b) => a + b, 0);
    const frozen = ROWNO_WIDTH + (col > 0 ? this.widths[0] : 0);
    const width = this.widths[col] || 0;
    if (left - frozen < wrap.scrollLeft) wrap.scrollLeft = left - frozen;
    else if (left + width > wrap.scrollLeft + wrap.clientWidth) wrap.scrollLeft = left + width - wrap.clientWidth;
  }

  // The cell under the cursor as "KEY@ROW".
  cursorKey() {
    const column = this.columns[this.cursor.col];
    return column ? `${column.key}@${this.cursor.row}` : '';
  }

  // The cursor to the cell of `key` in `row` (the host moved it there).
  moveToKey(key, row) {
    const col = this.columns.findIndex((c) => c.key === key);
    if (col >= 0) this.moveTo(row, col);
  }

  async #next(back = false) {
    const { row, col } = this.cursor;
    const step = back ? -1 : 1;
    for (let c = col + step; c >= 0 && c < this.columns.length; c += step) {
      if (this.#editable(row, c)) return this.moveTo(row, c);
    }
    if (back) {
      if (row > 1) this.moveTo(row - 1, this.#firstEditable(row - 1, true));
      return;
    }
    if (row >= this.rows.length) {
      const added = await this.page.addRow(this.grid);
      if (!added) return;
    }
    this.moveTo(row + 1, this.#firstEditable(row + 1));
  }

  #firstEditable(row, last = false) {
    const order = [...this.columns.keys()];
    if (last) order.reverse();
    const c = order.find((i) => this.#editable(row, i));
    return c === undefined ? 0 : c;
  }

  #click(e) {
    const td = e.target.closest('td[data-col]');
    if (!td || (this.editor && this.editor.input.contains(e.target))) return;
    e.preventDefault();  // no text selection; the grid keeps the focus
    if (this.editor) this.commitEdit();
    this.moveTo(Number(td.dataset.row), Number(td.dataset.col));
    this.focus();
  }

  // --- editing ---

  startEdit(initial) {
    const { row, col } = this.cursor;
    const cell = this.rows[row - 1]?.[col];
    const column = this.columns[col];
    if (!column || !this.#editable(row, col)) return false;
    if (column.type === 'check') {
      this.page.edit(column.key, row, text(cell) === '1' ? 0 : 1);
      return true;
    }
    this.showRow(row, col);
    const td = this.#td(row, col);
    if (!td) return false;
    this.body.querySelector('button.pick')?.remove();
    const input = h('input.cell-editor', { type: 'text', value: initial ?? editText(cell), spellcheck: false });
    td.replaceChildren(input);
    this.editor = { input, row, col, tr: td.parentElement, original: editText(cell) };
    // Leaving the cell some other way (a click on a tool, on the header) commits it too.
    input.addEventListener('blur', () => {
      if (this.editor && this.editor.input === input) this.commitEdit(false);
    });
    input.focus();
    if (initial === undefined) input.select();
    else input.setSelectionRange(input.value.length, input.value.length);
    return true;
  }

  // Ends the edit; a changed value goes to the host. The grid keeps the focus unless `refocus`
  // is false (the person went elsewhere).
  commitEdit(refocus = true) {
    const ed = this.editor;
    if (!ed) return;
    this.editor = null;
    const value = ed.input.value;
    const column = this.columns[ed.col];
    if (value !== ed.original) {
      const key = `${ed.row}:${ed.col}`;
      this.pending.set(key, value);
      // The host's answer redraws what changed; a value it kept as it was is redrawn here.
      this.page.edit(column.key, ed.row, value).finally(() => {
        if (!this.pending.delete(key)) return;
        this.#drawRow(ed.row);
        this.#markCursor();
      });
    }
    this.#drawRow(ed.row);
    this.#markCursor();
    if (refocus) this.focus();
  }

  cancelEdit() {
    const ed = this.editor;
    if (!ed) return;
    this.editor = null;
    this.#drawRow(ed.row);
    this.#markCursor();
    this.focus();
  }

  async #pick(typed) {
    const { row, col } = this.cursor;
    const column = this.columns[col];
    if (!column || column.type !== 'base' || !this.#editable(row, col)) return;
    if (this.editor) {
      this.editor.original = null;  // the pick replaces whatever was typed
      this.cancelEdit();
    }
    const record = await this.page.pick(column.key, row, column.caption, typed);
    if (record) this.page.edit(column.key, row, record.id);
    this.focus();
  }

  // Rows copied from a spreadsheet (tab between cells, a line per row) go in from the cursor on:
  // into the rows below it and, past the last, into new rows.
  #paste(e) {
    if (this.editor) return;  // the editor takes a paste as text
    const data = e.clipboardData?.getData('text/plain') ?? '';
    const lines = data.replace(/\r\n?/g, '\n').split('\n');
    if (lines.length && lines[lines.length - 1] === '') lines.pop();
    if (!lines.length) return;
    e.preventDefault();
    const rows = lines.map((line) => line.split('\t'));
    const width = Math.max(...rows.map((r) => r.length));
    const keys = this.columns.slice(this.cursor.col, this.cursor.col + width).map((c) => c.key);
    this.page.paste(this.grid, this.cursor.row, keys, rows.map((r) => r.slice(0, keys.length)));
  }

  #key(e) {
    const { row, col } = this.cursor;
    if (this.editor) {
      switch (e.key) {
        case 'Enter':
        case 'Tab':
          e.preventDefault();
          this.commitEdit();
          this.#next(e.shiftKey);
          return;
        case 'Escape':
          e.preventDefault();
          this.cancelEdit();
          return;
        case 'ArrowUp':
        case 'ArrowDown':
          e.preventDefault();
          this.commitEdit();
          this.moveTo(row + (e.key === 'ArrowUp' ? -1 : 1), col);
          return;
        case 'F7':
          e.preventDefault();
          this.#pick(this.editor.input.value);
          return;
        default:
          return;
      }
    }
    const page = Math.max(1, Math.floor((this.el.clientHeight - this.head.offsetHeight) / this.#rowHeight()) - 1);
    switch (e.key) {
      case 'ArrowUp': this.moveTo(row - 1, col); break;
      case 'ArrowDown': this.moveTo(row + 1, col); break;
      case 'ArrowLeft': this.moveTo(row, col - 1); break;
      case 'ArrowRight': this.moveTo(row, col + 1); break;
      case 'PageUp': this.moveTo(row - page, col); break;
      case 'PageDown': this.moveTo(row + page, col); break;
      case 'Home': this.moveTo(e.ctrlKey ? 1 : row, e.ctrlKey ? col : 0); break;
      case 'End': this.moveTo(e.ctrlKey ? this.rows.length : row, e.ctrlKey ? col : this.columns.length - 1); break;
      case 'Enter':
      case 'Tab': this.#next(e.shiftKey); break;
      case 'F2': this.startEdit(); break;
      case 'F7': this.#pick(''); break;
      case ' ':
        if (this.columns[col]?.type !== 'check') return;
        this.startEdit();
        break;
      case 'Delete':
        if (e.ctrlKey) {
          this.page.deleteRow(this.grid, row);
        } else if (this.#editable(row, col) && editText(this.rows[row - 1]?.[col]) !== '') {
          this.page.edit(this.columns[col].key, row, '');
        }
        break;
      case 'Backspace':
        this.startEdit('');
        break;
      default:
        if (e.key.length !== 1 || e.ctrlKey || e.metaKey || e.altKey) return;
        if (!this.startEdit(e.key)) return;
    }
    e.preventDefault();
  }
}
