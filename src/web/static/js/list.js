// The bill list: the stored bills of one class with their status, a check box per row for the
// selection, and the list's menu and tool bar (audit, un-audit, copy, delete and the plug-in's
// own tools act on the selection). A double click opens the bill. Above the bills a filter
// (dates, bill number, customer, state) chooses which show; a click on a column's caption sorts
// by it (again: the other way round); "导出" saves the bills shown as a CSV file.
import { h } from './api.js';
import { WindowClient } from './windowclient.js';
import { renderBar } from './bar.js';
import { renderJournal } from './journal.js';
import { notice } from './dialogs.js';

export class ListPage {
  // `open(windowId)` shows a bill window the list opened; `leave()` goes back.
  constructor(root, id, { user, open, leave }) {
    this.open = open;
    this.leave = leave;
    this.selected = new Set();
    this.rows = [];
    this.client = new WindowClient(id, (outcome) => this.apply(outcome));
    this.title = h('span.title');
    this.menubar = h('nav.menubar');
    this.toolbar = h('div.toolbar');
    this.all = h('input', { type: 'checkbox', title: '全选' });
    this.all.addEventListener('change', () => {
      this.selected = new Set(this.all.checked ? this.rows.map((r) => r.id) : []);
      this.#markSelection();
    });
    this.query = { dateFrom: '', dateTo: '', billNo: '', partner: '', status: -1, sort: '', descending: false };
    const input = (name, attrs) => h('input', { name, dataset: { filter: name }, ...attrs });
    this.filters = {
      dateFrom: input('dateFrom', { type: 'date', title: '起始日期' }),
      dateTo: input('dateTo', { type: 'date', title: '截止日期' }),
      billNo: input('billNo', { type: 'search', placeholder: '单据编号', size: 12 }),
      partner: input('partner', { type: 'search', placeholder: '编码或名称', size: 12 }),
      status: h('select', { name: 'status', dataset: { filter: 'status' } },
        [['-1', '全部'], ['0', '未审核'], ['1', '已审核'], ['2', '已关闭']].map(([v, t]) => h('option', { value: v }, t))),
    };
    this.partnerLabel = h('span', null, '客户');
    const filter = h('form.list-filter', {
      onsubmit: (e) => {
        e.preventDefault();
        this.search();
      },
    },
    h('label', null, '日期 ', this.filters.dateFrom), h('label', null, '至 ', this.filters.dateTo),
    h('label', null, '单据编号 ', this.filters.billNo), h('label', null, this.partnerLabel, ' ', this.filters.partner),
    h('label', null, '状态 ', this.filters.status),
    h('button', { type: 'submit', dataset: { action: 'search' } }, '查询'),
    h('button', { type: 'button', dataset: { action: 'clear' }, onclick: () => this.clearFilter() }, '清除'));
    this.headRow = h('tr');
    this.body = h('tbody');
    this.count = h('span.panel');
    this.errors = h('aside.errors', { hidden: true });
    this.el = h('div.window.list', { dataset: { window: id } },
      h('header.titlebar', null, this.title, h('span.spacer'), h('span.user', null, user),
        h('button.close', { type: 'button', title: '关闭', onclick: () => this.close() }, '✕')),
      this.menubar,
      h('div.toolbar-row', null, this.toolbar,
        h('span.tool-separator'),
        h('button.tool', { type: 'button', dataset: { tool: 'modify' }, onclick: () => this.modify() }, '修改'),
        h('button.tool', { type: 'button', dataset: { tool: 'refresh' }, onclick: () => this.client.run({ op: 'refresh' }) }, '刷新'),
        h('button.tool', { type: 'button', dataset: { tool: 'export' }, onclick: () => this.export() }, '导出')),
      filter,
      h('div.list-body', null, h('table.entry.bills', null, h('thead', null, this.headRow), this.body)),
      h('footer.statusbar', null, this.count),
      this.errors);
    root.replaceChildren(this.el);
  }

  // Shows the list as it stands, then as the database holds it now.
  async start() {
    await this.client.load();
    await this.client.run({ op: 'refresh' });
  }

  apply(outcome) {
    if (outcome.gone) {
      this.leave();
      return;
    }
    renderJournal(this.errors, outcome.journal);
    if (outcome.opened) {
      this.open(outcome.opened);
      return;
    }
    if (outcome.result && outcome.result.closed) {
      this.close();
      return;
    }
    const v = outcome.view;
    if (!v || !v.columns) return;
    this.title.textContent = `${v.title} - 列表`;
    document.title = `${v.title}列表`;
    this.rows = v.rows;
    if (v.query) this.#showQuery(v.query);
    if (v.partnerCaption) this.partnerLabel.textContent = v.partnerCaption;
    const ids = new Set(v.rows.map((r) => r.id));
    this.selected = new Set([...this.selected].filter((id) => ids.has(id)));
    this.headRow.replaceChildren(h('th.select', null, this.all), ...v.columns.map((c) => {
      const sorted = this.query.sort === c.key;
      return h('th.sortable', {
        dataset: { key: c.key }, title: '按此列排序',
        'aria-sort': sorted ? (this.query.descending ? 'descending' : 'ascending') : undefined,
        onclick: () => this.sortBy(c.key),
      }, c.caption, sorted ? (this.query.descending ? ' ▼' : ' ▲') : '');
    }));
    this.body.replaceChildren(...v.rows.map((r) => {
      const box = h('input', { type: 'checkbox', checked: this.selected.has(r.id) });
      const tr = h('tr', { dataset: { id: r.id, billNo: r.cells[0] } }, h('td.select', null, box),
        r.cells.map((c, i) => h('td', { dataset: { key: v.columns[i].key }, class: v.columns[i].type === 'number' ? 'num' : undefined }, c)));
      tr.addEventListener('click', (e) => {
        if (e.target !== box) box.checked = !box.checked;
        if (box.checked) this.selected.add(r.id);
        else this.selected.delete(r.id);
        this.#markSelection();
      });
      tr.addEventListener('dblclick', () => this.client.run({ op: 'openBill', billId: r.id }));
      return tr;
    }));
    this.#markSelection();
    renderBar(this.menubar, this.toolbar, v.bar, (key) => this.tool(key));
  }

  #markSelection() {
    for (const tr of this.body.children) {
      const on = this.selected.has(Number(tr.dataset.id));
      tr.classList.toggle('selected', on);
      tr.querySelector('input').checked = on;
    }
    this.all.checked = this.rows.length > 0 && this.selected.size === this.rows.length;
    this.count.textContent = `共 ${this.rows.length} 张，已选 ${this.selected.size} 张`;
  }

  #showQuery(q) {
    this.query = { ...q };
    for (const [name, control] of Object.entries(this.filters)) {
      if (document.activeElement !== control) control.value = String(q[name] ?? '');
    }
  }

  // The bills the filter names, in the order chosen.
  search() {
    const f = this.filters;
    return this.client.run({
      op: 'query',
      dateFrom: f.dateFrom.value,
      dateTo: f.dateTo.value,
      billNo: f.billNo.value,
      partner: f.partner.value,
      status: Number(f.status.value),
      sort: this.query.sort,
      descending: this.query.descending,
    });
  }

  clearFilter() {
    for (const control of Object.values(this.filters)) control.value = control.tagName === 'SELECT' ? '-1' : '';
    return this.search();
  }

  sortBy(key) {
    this.query.descending = this.query.sort === key ? !this.query.descending : false;
    this.query.sort = key;
    return this.search();
  }

  // The bills shown, as a CSV file the browser saves.
  async export() {
    const outcome = await this.client.run({ op: 'export' });
    const result = outcome && outcome.result;
    if (!result || !result.csv) return;
    const url = URL.createObjectURL(new Blob([result.csv], { type: 'text/csv;charset=utf-8' }));
    const a = h('a', { href: url, download: result.fileName || 'bills.csv', hidden: true });
    document.body.append(a);
    a.click();
    a.remove();
    setTimeout(() => URL.revokeObjectURL(url), 10000);
  }

  // Opens the one selected bill for editing.
  modify() {
    if (this.selected.size !== 1) return notice('信息提示', '请选择一张单据。');
    return this.client.run({ op: 'openBill', billId: [...this.selected][0], edit: true });
  }

  tool(key) {
    // The list's order, not the order of the clicks.
    const selected = this.rows.map((r) => r.id).filter((id) => this.selected.has(id));
    return this.client.run({ op: 'tool', key, selected });
  }

  async close() {
    await this.client.close();
    this.leave();
  }
}
