// An entry grid of a bill form, edited from the keyboard as ERP grids are: the arrows move the
// cursor, typing starts an edit, Enter and Tab commit and move on (past the last row a new row
// is added), Esc cancels, F2 edits the cell as it stands, F7 opens the pick list of a base-data
// column, Delete clears the cell, Ctrl+Delete deletes the row.
import { h } from './api.js';

// A cell as the host sends it: [text, editable, number] (number for base-data columns).
const text = (cell) => (cell ? cell[0] : '');
const editable = (cell) => !!(cell && cell[1]);
const editText = (cell) => (cell ? (cell.length > 2 ? cell[2] : cell[0]) : '');

// Column widths in pixels: as the host lays the grid out, else by the kind of field.
const ROWNO_WIDTH = 40;
const WIDTHS = { base: 130, number: 96, date: 100, time: 90, check: 56, text: 120 };

export class EntryGrid {
  // `page` offers edit(key, row, value), addRow(grid), deleteRow(grid, row), enterRow(grid, row) and
  // pick(key, row, caption, typed) (resolves with a record or null).
  constructor(grid, page) {
    this.grid = grid;
    this.page = page;
    this.columns = [];
    this.rows = [];
    this.cursor = { row: 1, col: 0 };
    this.enteredRow = 0;
    this.editor = null;  // {input, row, col}
    this.head = h('thead');
    this.body = h('tbody');
    this.table = h('table.entry', null, this.head, this.body);
    this.el = h('div.entry-wrap', { tabindex: 0, dataset: { grid } }, this.table);
    this.el.addEventListener('keydown', (e) => this.#key(e));
    this.body.addEventListener('mousedown', (e) => this.#click(e));
    this.body.addEventListener('dblclick', (e) => {
      const td = e.target.closest('td[data-col]');
      if (td) this.startEdit();
    });
  }

  // Applies the grid part of a view: new columns rebuild the grid; changed rows are redrawn.
  apply(g) {
    if (g.columns) {
      this.cancelEdit();
      this.columns = g.columns;
      this.rows = [];
      // Fixed column widths: the grid lays out once, not again with every changed cell.
      const widths = [ROWNO_WIDTH, ...this.columns.map((c) => c.width || WIDTHS[c.type] || WIDTHS.text)];
      this.table.querySelector('colgroup')?.remove();
      this.table.prepend(h('colgroup', null, widths.map((w) => h('col', { style: `width:${w}px` }))));
      this.table.style.width = `${widths.reduce((a, b) => a + b, 0)}px`;
      this.head.replaceChildren(h('tr', null, h('th.rowno', null, ''),
        this.columns.map((c) => h('th', { dataset: { key: c.key }, title: c.caption }, c.caption))));
      this.body.replaceChildren();
    }
    this.rows.length = g.rowCount;
    for (const [r, cells] of Object.entries(g.rows || {})) this.rows[Number(r) - 1] = cells;
    while (this.body.children.length > g.rowCount) this.body.lastChild.remove();
    while (this.body.children.length < g.rowCount) {
      const r = this.body.children.length + 1;
      this.body.append(h('tr', { dataset: { row: r } }, h('th.rowno', null, r),
        this.columns.map((c, i) => h('td', { dataset: { key: c.key, row: r, col: i }, class: this.#cellClass(c) }))));
      this.#drawRow(r);
    }
    for (const r of Object.keys(g.rows || {})) this.#drawRow(Number(r));
    if (this.cursor.row > g.rowCount) this.cursor.row = Math.max(1, g.rowCount);
    if (this.cursor.col >= this.columns.length) this.cursor.col = 0;
    this.#markCursor();
  }

  #cellClass(c) {
    return c.type === 'number' ? 'num' : c.type === 'base' ? 'base' : c.type === 'check' ? 'check' : '';
  }

  #td(row, col) {
    return this.body.children[row - 1]?.children[col + 1];
  }

  #drawRow(r) {
    const cells = this.rows[r - 1] || [];
    this.columns.forEach((c, i) => {
      if (this.editor && this.editor.row === r && this.editor.col === i) return;  // being typed into
      const td = this.#td(r, i);
      if (!td) return;
      const cell = cells[i];
      td.classList.toggle('ro', !editable(cell));
      td.classList.remove('pending');
      if (c.type === 'check') td.textContent = text(cell) === '1' ? '☑' : '☐';
      else td.textContent = text(cell);
      if (c.type === 'base' && cell && cell[2]) td.title = cell[2];
      else td.removeAttribute('title');
    });
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
    if (column.type === 'base' && editable(this.rows[this.cursor.row - 1]?.[this.cursor.col]) && !this.editor) {
      const pick = h('button.pick', { type: 'button', tabindex: -1, title: '选择 (F7)', 'aria-label': '选择' });
      pick.addEventListener('mousedown', (e) => {
        e.preventDefault();
        e.stopPropagation();
        this.#pick('');
      });
      td.append(pick);
    }
  }

  focus() {
    this.el.focus({ preventScroll: true });
  }

  // Moves the cursor; entering another row tells the host.
  moveTo(row, col) {
    if (!this.rows.length) return;
    row = Math.min(Math.max(row, 1), this.rows.length);
    col = Math.min(Math.max(col, 0), this.columns.length - 1);
    this.cursor = { row, col };
    this.#markCursor();
    this.#reveal(this.#td(row, col));
    if (row !== this.enteredRow) {
      this.enteredRow = row;
      this.page.enterRow(this.grid, row);
    }
  }

  // Scrolls the grid (and only the grid) so that `td` is in sight beside the sticky headers.
  #reveal(td) {
    if (!td) return;
    const wrap = this.el;
    const top = this.head.offsetHeight;
    // Beside the row numbers the first column stays in sight; the others scroll under it.
    const frozen = [...td.parentElement.children].slice(0, td.cellIndex > 1 ? 2 : 1);
    const left = frozen.reduce((width, cell) => width + cell.offsetWidth, 0);
    if (td.offsetTop - top < wrap.scrollTop) wrap.scrollTop = td.offsetTop - top;
    else if (td.offsetTop + td.offsetHeight > wrap.scrollTop + wrap.clientHeight) wrap.scrollTop = td.offsetTop + td.offsetHeight - wrap.clientHeight;
    if (td.offsetLeft - left < wrap.scrollLeft) wrap.scrollLeft = td.offsetLeft - left;
    else if (td.offsetLeft + td.offsetWidth > wrap.scrollLeft + wrap.clientWidth) wrap.scrollLeft = td.offsetLeft + td.offsetWidth - wrap.clientWidth;
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
      if (editable(this.rows[row - 1]?.[c])) return this.moveTo(row, c);
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
    const cells = this.rows[row - 1] || [];
    const order = [...this.columns.keys()];
    if (last) order.reverse();
    const c = order.find((i) => editable(cells[i]));
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

  startEdit(initial) {
    const { row, col } = this.cursor;
    const cell = this.rows[row - 1]?.[col];
    const column = this.columns[col];
    if (!column || !editable(cell)) return false;
    if (column.type === 'check') {
      this.page.edit(column.key, row, text(cell) === '1' ? 0 : 1);
      return true;
    }
    const td = this.#td(row, col);
    this.body.querySelector('button.pick')?.remove();
    const input = h('input.cell-editor', { type: 'text', value: initial ?? editText(cell), spellcheck: false });
    td.replaceChildren(input);
    this.editor = { input, row, col, original: editText(cell) };
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
    const td = this.#td(ed.row, ed.col);
    const column = this.columns[ed.col];
    if (value !== ed.original) {
      td.textContent = value;
      td.classList.add('pending');
      // The host's answer redraws what changed; a value it kept as it was is redrawn here.
      this.page.edit(column.key, ed.row, value).finally(() => {
        if (!td.classList.contains('pending')) return;
        this.#drawRow(ed.row);
        this.#markCursor();
      });
    } else {
      this.#drawRow(ed.row);
      this.#markCursor();
    }
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
    if (!column || column.type !== 'base' || !editable(this.rows[row - 1]?.[col])) return;
    if (this.editor) {
      this.editor.original = null;  // the pick replaces whatever was typed
      this.cancelEdit();
    }
    const record = await this.page.pick(column.key, row, column.caption, typed);
    if (record) this.page.edit(column.key, row, record.id);
    this.focus();
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
    switch (e.key) {
      case 'ArrowUp': this.moveTo(row - 1, col); break;
      case 'ArrowDown': this.moveTo(row + 1, col); break;
      case 'ArrowLeft': this.moveTo(row, col - 1); break;
      case 'ArrowRight': this.moveTo(row, col + 1); break;
      case 'Home': this.moveTo(row, 0); break;
      case 'End': this.moveTo(row, this.columns.length - 1); break;
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
        } else if (editable(this.rows[row - 1]?.[col]) && editText(this.rows[row - 1][col]) !== '') {
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
